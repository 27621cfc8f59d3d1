// ToolDialogs: the windows that the main window's menus and buttons open but that live
// elsewhere (the options window, the recording dialog, the snapshot manager, the playlist
// and source option dialogs, the skin editor). Each is plugged in with one Register call;
// the menu items of a window that is not registered are shown disabled.
//
// Thread: user-interface thread. The openers are owned; what they capture must outlive
// this object (the application owns both).
#pragma once

#include <QWidget>

#include <array>
#include <functional>

namespace lumora {

enum class ToolDialog {
    kOptionsWindow,  // button 2004: shown or hidden beside the main window
    kRecording,      // "Videos...": shown and brought to the front
    kSnapshots,      // "Photos...": created, or destroyed when it exists
    kPlaylist,       // "Video playlist", modal
    kSourceOptions,  // "Video output stream" of a picture or the desktop, modal
    kSkinEditor,     // "Skin editor", modal
};

class ToolDialogs {
public:
    // Opens (or toggles) the window, owned by `owner`. Answers whether the source changed
    // in a way that needs the graph rebuilt (source options), false otherwise.
    using Opener = std::function<bool(QWidget* owner)>;

    void Register(ToolDialog dialog, Opener opener);
    bool Has(ToolDialog dialog) const;
    // False when none is registered.
    bool Open(ToolDialog dialog, QWidget* owner) const;

private:
    static constexpr std::size_t kCount = static_cast<std::size_t>(ToolDialog::kSkinEditor) + 1;
    std::array<Opener, kCount> openers_;
};

}  // namespace lumora
