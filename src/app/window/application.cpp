#include "app/window/application.h"

#include "app/preferences.h"
#include "app/product_site.h"
#include "app/single_instance.h"
#include "app/window/command_event.h"
#include "app/window/command_router.h"
#include "app/window/file_menu.h"
#include "app/window/main_window.h"
#include "app/window/skin_menu.h"
#include "app/window/source_connector.h"
#include "app/window/video_options_menu.h"
#include "app/window/video_source_menu.h"
#include "options/options_window.h"
#include "platform/message_box.h"
#include "platform/program_paths.h"
#include "platform/termination_signals.h"
#include "session/session.h"
#include "session/virtual_camera_startup.h"
#include "skins/skin_editor_dialog.h"
#include "tools/dialog_host.h"
#include "tools/playlist_dialog.h"
#include "tools/recording_dialog.h"
#include "tools/snapshot_manager.h"
#include "tools/source_options.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <gst/gst.h>

namespace lumora {

Application::Application(Options options) : options_(std::move(options)) {
    if (options_.programFolder.empty()) options_.programFolder = ProgramFolder();
    if (options_.instanceSocket.empty()) options_.instanceSocket = SingleInstance::DefaultSocketFile();
}

Application::~Application() {
    // The graph first: it paints into the window and posts to it.
    if (session_) session_->Shutdown();
    if (window_) window_->SetHandler(nullptr);
}

bool Application::ClaimInstance() {
    instance_ = std::make_unique<SingleInstance>(options_.instanceSocket);
    if (instance_->ClaimOrNotify() == SingleInstance::Claim::kAnotherRuns) return false;
    QObject::connect(instance_.get(), &SingleInstance::raiseRequested, [this] { RaiseWindow(); });
    return true;
}

std::optional<int> Application::Start() {
    if (!ClaimInstance()) return 0;
    // From here a SIGTERM or SIGINT waits for the event loop and closes the program there.
    signals_ = std::make_unique<TerminationSignals>();
    // Before the window has its contents (the virtual camera question is open, say), the
    // request answers the open box with its escape button and start-up ends there.
    QObject::connect(signals_.get(), &TerminationSignals::closeRequested, [this](int) {
        closeRequested_ = true;
        if (window_ && sources_) {
            window_->close();
        } else if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    GError* error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        g_clear_error(&error);
        ShowAppMessage("Error initializing GStreamer! Application terminated.", mb::kIconError);
        return 0;
    }
    // The window exists from here on, but appears only with its first layout.
    window_ = std::make_unique<MainWindow>();
    window_->setWindowIcon(QIcon::fromTheme("lumora"));
    dialogHost_ = std::make_unique<DialogHost>(window_.get());
    Session::Setup setup;
    setup.programFolder = options_.programFolder;
    setup.eventTarget = window_.get();
    setup.preview = &window_->Preview();
    setup.pipOptions = dialogHost_.get();
    session_ = std::make_unique<Session>(setup);
    if (ConnectVirtualCamera(session_->Devices(), session_->Link()) == StartupOutcome::kExit) return 0;
    BuildContents();
    return std::nullopt;
}

void Application::BuildContents() {
    SetMessageOwner(window_.get());
    session_->Initialize();
    session_->Effects().SetOwnerWindow(window_.get());
    window_->Preview().SetZoomControl(&session_->Effects(), [this] { return session_->Graph().Pipeline() != nullptr; });
    BuildMenus();
    LoadSkins();
    connector_->LayoutMainWindow();
    tray_.Add(window_.get());
    StartUpdateCheck();
    RestoreLastSource();
}

// The windows the menus and buttons open, one Register call each; their menu items are
// built enabled only when registered, so this runs before the menus are built.
void Application::RegisterToolWindows() {
    optionsWindow_ = std::make_unique<OptionsWindow>(session_->Effects(), *window_);
    window_->SetOptionsWindow(optionsWindow_.get());
    skins_.RegisterSkinWindow(optionsWindow_.get());
    QObject::connect(optionsWindow_.get(), &OptionsWindow::command, window_.get(), [this](int command) {
        CommandEvent event(command);
        QCoreApplication::sendEvent(window_.get(), &event);
    });
    dialogs_.Register(ToolDialog::kOptionsWindow, [this](QWidget*) {
        optionsWindow_->Toggle();
        return false;
    });
    // The snapshot manager and the recording dialog are made when first opened: start-up
    // and a program that never records pay nothing for them.
    dialogs_.Register(ToolDialog::kSnapshots, [this](QWidget*) {
        if (!snapshots_) snapshots_ = std::make_unique<SnapshotManager>(window_.get(), window_.get());
        snapshots_->Toggle();
        return false;
    });
    dialogs_.Register(ToolDialog::kRecording, [this](QWidget*) {
        Recording().ShowDialog();
        return false;
    });
    dialogs_.Register(ToolDialog::kPlaylist, [this](QWidget* owner) {
        PlaylistDialog(sources_->Videos(), window_.get(), owner).exec();
        return false;
    });
    dialogs_.Register(ToolDialog::kSourceOptions,
                      [this](QWidget* owner) { return EditSourceOptions(session_->Graph(), owner); });
    dialogs_.Register(ToolDialog::kSkinEditor, [this](QWidget* owner) {
        SkinEditorDialog editor(skins_, owner);
        editor.exec();
        // A skin made or changed in the editor is in the Skin menu at once.
        if (editor.ChangedSkins()) {
            const int current = skins_.ReloadAllSkins(skinMenu_->Current());
            skinMenu_->Build();
            skinMenu_->Check(current);
        }
        return false;
    });
}

RecordingDialog& Application::Recording() {
    if (!recording_) {
        recording_ = std::make_unique<RecordingDialog>(
            RecordingDialog::Parts{
                session_->Graph().Compressors(), session_->Counter(),
                [this] { return session_->Graph().RecordingFileName(); },
                [this](int command) { QCoreApplication::postEvent(window_.get(), new CommandEvent(command)); }},
            window_.get());
    }
    return *recording_;
}

// The options window follows the source: its enabling after each change, and while a file
// plays, the file's position several times a second.
void Application::ConnectOptionsWindow() {
    auto* position = new QTimer(optionsWindow_.get());
    position->setInterval(kPlaybackPositionMs);
    QObject::connect(position, &QTimer::timeout, optionsWindow_.get(), [this] {
        const SourceGraph& graph = session_->Graph();
        const auto at = graph.CurrentPosition();
        const auto duration = graph.Duration();
        if (at && duration) optionsWindow_->Playback().ShowFilePosition(*at, *duration);
    });
    connector_->hooks().updateOptionsEnabling = [this, position] {
        const SourceGraph& graph = session_->Graph();
        const SourceKind kind = graph.Pipeline() != nullptr ? graph.Parameters().kind : SourceKind::kNone;
        optionsWindow_->UpdateEnabling({kind, graph.RecordToFile()});
        if (kind == SourceKind::kVideoFile) {
            position->start();
        } else {
            position->stop();
        }
    };
    router_->SetPlaybackPosition([this] { return optionsWindow_->Playback().GetPosition(); });
}

void Application::BuildMenus() {
    RegisterToolWindows();
    file_ = std::make_unique<FileMenu>(dialogs_);
    sources_ = std::make_unique<VideoSourceMenu>(window_.get(), session_->Devices());
    sources_->Build();
    optionsMenu_ = std::make_unique<VideoOptionsMenu>(window_.get(), dialogHost_.get(), dialogs_);
    skinMenu_ = std::make_unique<SkinMenu>(window_.get(), skins_, dialogs_);
    connector_ = std::make_unique<SourceConnector>(SourceConnector::Parts{session_->Graph(), session_->Store(),
                                                                          session_->Devices(), session_->Effects(),
                                                                          *sources_, *optionsMenu_, *file_, *window_});
    SourceConnector::Hooks& hooks = connector_->hooks();
    // Before the recording dialog first opens there is no destination and nothing records.
    hooks.recordingFileName = [this] { return recording_ ? recording_->DestinationFile() : std::string(); };
    hooks.showElapsedTime = [this](bool on) {
        if (recording_ || on) Recording().SetRecordingState(on);
    };
    hooks.hideRecordingDialog = [this] {
        if (recording_) recording_->HideAndStop();
    };
    router_ = std::make_unique<CommandRouter>(
        CommandRouter::Parts{*window_, session_->Graph(), session_->Effects(), session_->Frames(), *connector_, *file_,
                             *sources_, *optionsMenu_, *skinMenu_, dialogs_, tray_},
        [this] { Close(); });
    window_->SetHandler(router_.get());
    ConnectOptionsWindow();
}

void Application::LoadSkins() {
    skins_.SetProgramFolder(options_.programFolder);
    skins_.RegisterSkinWindow(window_.get());
    skins_.LoadBuiltinSkin();  // the folders when the Skin menu first opens
    skins_.ApplySkin(0);
    skinMenu_->Build();
    skinMenu_->Check(0);
}

void Application::StartUpdateCheck() {
    updatePrompt_ = std::make_unique<UpdatePrompt>(window_.get());
    const std::optional<ProductSite> site = ProductSite::FromSettings();
    if (!site) return;
    site->VisitHomePage();
    updateCheck_.Start(*site, updatePrompt_.get());
}

void Application::RestoreLastSource() {
    rememberedFormat_ = std::make_unique<RememberedFormat>(session_->Graph().Format());
    if (!sources_->RestoreLastSource()) return;
    rememberedFormat_->PrepareRememberedFormat();
    connector_->ConnectSource(false, false);
}

void Application::RaiseWindow() {
    if (!window_) return;
    window_->show();
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void Application::Close() {
    if (closed_ || !session_ || !sources_) return;
    closed_ = true;
    const int sourceId = sources_->SourceId();
    SaveLastSource(sourceId, session_->Devices(), sources_->IdentifierText());
    SourceGraph& graph = session_->Graph();
    rememberedFormat_->SaveCurrentFormat(sourceId, session_->Devices().Count(),
                                         [&graph](CaptureFormat&) { return graph.ReadCaptureFormat(); });
    tray_.Remove();
    graph.Teardown(true, false);
    updateCheck_.Stop();
    window_->hide();
    QCoreApplication::exit(0);
}

int Application::Exec() {
    if (const std::optional<int> exitCode = Start()) return *exitCode;
    const int exitCode = closeRequested_ ? 0 : QApplication::exec();
    Close();  // the loop may also end without a close request
    session_->Shutdown();
    return exitCode;
}

}  // namespace lumora
