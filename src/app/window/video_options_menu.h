// VideoOptionsMenu: the Video options button's menu, rebuilt for every connected source
// and at every reset:
//
//   no source      "No options available" (disabled), ---------, Preferences (3000)
//   video file     Video options > Video playlist (3002); ---------; Preferences
//   picture, desktop  Video options > Video output stream (3001); ---------; Preferences
//   capture device    Video options > Video capture pin... (3001) when the device lists
//                     formats, Video capture filter... (3002) when it has controls (the
//                     submenu stays empty with neither); ---------; Preferences
//
// Items whose dialog is not registered in the ToolDialogs are disabled.
//
// Thread: user-interface thread. The owner, the page host, the dialogs and the graph are
// borrowed; the graph only between a Build with it and the next Build.
#pragma once

#include "app/window/tool_dialogs.h"

#include <QMenu>
#include <QWidget>

namespace lumora {

class PropertyPageHost;
class SourceGraph;

class VideoOptionsMenu {
public:
    enum class Outcome { kNothing, kSucceeded, kFailed };

    // `pages` draws a capture device's format and controls pages (null: none offered).
    VideoOptionsMenu(QWidget* owner, PropertyPageHost* pages, const ToolDialogs& dialogs);

    // `graph` null: no source. `sourceId` says which kind of source the graph holds.
    void Build(SourceGraph* graph, int sourceId);

    // Carries out a chosen item. kFailed only when a capture device's page failed.
    Outcome Handle(int command);

    QMenu& Menu() { return menu_; }

private:
    void AddSourceItems(QMenu& sub);
    Outcome ShowDevicePage(int command);

    QWidget* owner_;
    PropertyPageHost* pages_;
    const ToolDialogs& dialogs_;
    QMenu menu_;
    QMenu options_;
    SourceGraph* graph_ = nullptr;
    int sourceId_ = 0;
};

}  // namespace lumora
