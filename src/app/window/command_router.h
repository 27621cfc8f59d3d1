// CommandRouter: the main window's command and message table. Every button, menu choice,
// CommandEvent and Lumora message the main window receives ends here:
//
//   2014-2017  the File, Video source, Video options and Skin menus under their buttons,
//              and what was chosen in them (a new source is connected at once)
//   2018       close (also "Exit")          2019  ToggleMainWindow
//   2004       the options window           2001  start: the effects afresh, the graph runs
//   2002       stop, the preview repainted  2003  seek a video file to the playback
//                                                  panel's position (0 to 100)
//   2020/2021  rebuild a capture graph with or without recording
//   3100-3110  need a source, nothing more
//   MSG_FRAME_READY / MSG_GET_FRAME_COPY    the frame hand-off
//   MSG_TRAY_NOTIFY    a left or right click shows or hides the window
//   MSG_GRAPH_EVENT    a video file ended: the playlist's next one is connected
//   MSG_RECONNECT_SOURCE   the source is connected again
//
// Start, recording and source commands without a source say "Please select video
// source!". A close request runs the close handler it was given.
//
// Thread: user-interface thread. Lifetime: borrows everything; all must outlive it.
#pragma once

#include "app/window/main_window.h"

#include <functional>

namespace lumora {

class EffectChain;
class FileMenu;
class FrameEventHandler;
class SkinMenu;
class SourceConnector;
class SourceGraph;
class ToolDialogs;
class TrayIcon;
class VideoOptionsMenu;
class VideoSourceMenu;

class CommandRouter final : public MainWindowHandler {
public:
    struct Parts {
        MainWindow& window;
        SourceGraph& graph;
        EffectChain& effects;
        QObject& frames;  // the FrameEventHandler: takes the frame messages
        SourceConnector& connector;
        FileMenu& file;
        VideoSourceMenu& sources;
        VideoOptionsMenu& options;
        SkinMenu& skins;
        const ToolDialogs& dialogs;
        const TrayIcon& tray;
    };

    CommandRouter(Parts parts, std::function<void()> closeHandler);

    // The playback panel's position, 0 to 100, for seeking; none: seeking does nothing.
    void SetPlaybackPosition(std::function<int()> position) { playbackPosition_ = std::move(position); }

    void OnCommand(int command) override;
    void OnMessage(QEvent& event) override;
    void OnCloseRequest() override;

private:
    bool HasSource() const;
    bool RequireSource() const;
    bool HandleMenuButton(int command);
    void FileChoice(int command);
    void SourceChoice(int command);
    void OptionsChoice(int command);
    void Start();
    void Stop();
    void Seek();

    Parts parts_;
    std::function<void()> closeHandler_;
    std::function<int()> playbackPosition_;
};

}  // namespace lumora
