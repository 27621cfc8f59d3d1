// Application: the windowed program's one object, owner of everything for the life of the
// process. Start-up, in this order:
//
//   1. one Lumora per user: a second copy asks the first to raise its window and exits 0
//   2. GStreamer ("Error initializing GStreamer! Application terminated.", exit 0)
//   3. the capture devices, then the virtual camera "Lumora Capture" (without it, the
//      question whether to go on; any answer but Yes exits 0)
//   4. the main window's contents: preview and buttons, the message owner, the session
//      (graph, frame store, effects), the File, Video source and Video options menus, the
//      skins and the Skin menu, the layout (the window appears), the tray icon, the web
//      site's home page and the update check (only when a site address is set), and last
//      the remembered source, connected with its remembered format.
//
// The close request (Close button, "Exit", the window system, SIGTERM or SIGINT) saves the
// last source and the device format, removes the tray icon, tears the graph down (keeping
// the source parameters), stops the update check and ends the event loop with 0. The
// session is shut down (effects unloaded, virtual camera closed) when Exec returns.
//
// Thread: user-interface thread, with the QApplication made before this object. Lifetime:
// members are destroyed in reverse order; the window outlives the session that paints
// into it and posts to it.
#pragma once

#include "app/remembered_format.h"
#include "app/update_check.h"
#include "app/update_prompt.h"
#include "app/window/tool_dialogs.h"
#include "app/window/tray_icon.h"
#include "skins/skin_manager.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace lumora {

class CommandRouter;
class DialogHost;
class FileMenu;
class MainWindow;
class OptionsWindow;
class RecordingDialog;
class Session;
class SingleInstance;
class SkinMenu;
class SnapshotManager;
class SourceConnector;
class TerminationSignals;
class VideoOptionsMenu;
class VideoSourceMenu;

class Application {
public:
    struct Options {
        std::string programFolder;             // with its "/"; empty: the executable's folder
        std::filesystem::path instanceSocket;  // empty: SingleInstance::DefaultSocketFile()
    };

    static constexpr int kPlaybackPositionMs = 250;

    explicit Application(Options options = {});
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up up to the event loop. Answers the exit code when the program is to end
    // without running (another copy runs, GStreamer failed, no virtual camera and not
    // Yes); none when the window is up and the loop is to run.
    std::optional<int> Start();

    // Start, the event loop, and the session's shutdown: the program's exit code.
    int Exec();

    // The close handler (once; later requests are ignored).
    void Close();
    bool Closed() const { return closed_; }

    // For tests and the entry point; null before Start has made them.
    MainWindow* Window() const { return window_.get(); }
    Session* Media() const { return session_.get(); }
    VideoSourceMenu* Sources() const { return sources_.get(); }
    OptionsWindow* OptionsPopup() const { return optionsWindow_.get(); }
    ToolDialogs& Dialogs() { return dialogs_; }
    SkinManager& Skins() { return skins_; }
    const TrayIcon& Tray() const { return tray_; }

private:
    bool ClaimInstance();
    void BuildContents();
    void RegisterToolWindows();
    RecordingDialog& Recording();  // made on first use; owned here, a child of the window
    void ConnectOptionsWindow();
    void BuildMenus();
    void LoadSkins();
    void StartUpdateCheck();
    void RestoreLastSource();
    void RaiseWindow();

    Options options_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<TerminationSignals> signals_;
    ToolDialogs dialogs_;
    SkinManager skins_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<DialogHost> dialogHost_;  // property pages and the inset's options
    TrayIcon tray_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<FileMenu> file_;
    std::unique_ptr<VideoSourceMenu> sources_;
    std::unique_ptr<VideoOptionsMenu> optionsMenu_;
    std::unique_ptr<SkinMenu> skinMenu_;
    std::unique_ptr<SourceConnector> connector_;
    std::unique_ptr<OptionsWindow> optionsWindow_;  // before the session goes: it borrows the effects
    std::unique_ptr<CommandRouter> router_;
    std::unique_ptr<RememberedFormat> rememberedFormat_;
    std::unique_ptr<UpdatePrompt> updatePrompt_;
    UpdateCheck updateCheck_;
    bool closed_ = false;
    bool closeRequested_ = false;  // a SIGTERM or SIGINT arrived
    // Children of the window that borrow the session: destroyed first.
    std::unique_ptr<SnapshotManager> snapshots_;
    std::unique_ptr<RecordingDialog> recording_;
};

}  // namespace lumora
