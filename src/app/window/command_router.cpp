#include "app/window/command_router.h"

#include "app/window/command_ids.h"
#include "app/window/file_menu.h"
#include "app/window/popup_menu.h"
#include "app/window/skin_menu.h"
#include "app/window/source_connector.h"
#include "app/window/tool_dialogs.h"
#include "app/window/tray_icon.h"
#include "app/window/tray_notify_event.h"
#include "app/window/video_options_menu.h"
#include "app/window/video_source_menu.h"
#include "effects/effect_chain.h"
#include "platform/app_events.h"
#include "platform/message_box.h"
#include "skins/parvel_button.h"
#include "video/source_graph.h"

#include <QCoreApplication>

namespace lumora {

CommandRouter::CommandRouter(Parts parts, std::function<void()> closeHandler)
        : parts_(parts), closeHandler_(std::move(closeHandler)) {}

bool CommandRouter::HasSource() const { return parts_.sources.SourceId() != 0; }

bool CommandRouter::RequireSource() const {
    if (HasSource()) return true;
    ShowAppMessage("Please select video source!", mb::kIconInformation);
    return false;
}

void CommandRouter::OnCommand(int command) {
    if (HandleMenuButton(command)) return;
    switch (command) {
        case cmd::kClose: parts_.window.close(); break;
        case cmd::kMinimize: parts_.window.ToggleMainWindow(parts_.tray.Present()); break;
        case cmd::kOptionsButton: parts_.dialogs.Open(ToolDialog::kOptionsWindow, &parts_.window); break;
        case cmd::kPlaybackStart: Start(); break;
        case cmd::kPlaybackStop: Stop(); break;
        case cmd::kPlaybackSeek: Seek(); break;
        case cmd::kStartRecording:
            if (HasSource()) parts_.connector.ConnectSource(true, true);
            break;
        case cmd::kStopRecording:
            if (HasSource()) parts_.connector.ConnectSource(true, false);
            break;
        default:
            if (command >= cmd::kFirstSourceCommand && command <= cmd::kLastSourceCommand) RequireSource();
            break;
    }
}

bool CommandRouter::HandleMenuButton(int command) {
    const ParvelButton* button = parts_.window.Button(command);
    switch (command) {
        case cmd::kFileButton: FileChoice(PopupMenu::Run(parts_.file.Menu(), *button)); return true;
        case cmd::kSourceButton: SourceChoice(PopupMenu::Run(parts_.sources.Menu(), *button)); return true;
        case cmd::kVideoOptionsButton: OptionsChoice(PopupMenu::Run(parts_.options.Menu(), *button)); return true;
        case cmd::kSkinButton:
            parts_.skins.Prepare();
            parts_.skins.Handle(PopupMenu::Run(parts_.skins.Menu(), *button));
            return true;
        default: return false;
    }
}

void CommandRouter::FileChoice(int command) {
    if (command == cmd::kClose) {
        parts_.window.close();
    } else if (command == cmd::kVideos) {
        parts_.dialogs.Open(ToolDialog::kRecording, &parts_.window);
    } else if (command == cmd::kPhotos) {
        parts_.dialogs.Open(ToolDialog::kSnapshots, &parts_.window);
    }
}

void CommandRouter::SourceChoice(int command) {
    if (parts_.sources.Choose(command)) parts_.connector.ConnectSource(false, false);
}

void CommandRouter::OptionsChoice(int command) {
    switch (parts_.options.Handle(command)) {
        case VideoOptionsMenu::Outcome::kFailed: parts_.connector.ResetSource(); break;
        case VideoOptionsMenu::Outcome::kSucceeded:
            parts_.effects.ResetActiveEffects();
            parts_.connector.LayoutMainWindow();
            break;
        case VideoOptionsMenu::Outcome::kNothing: break;
    }
}

void CommandRouter::Start() {
    if (!RequireSource()) return;
    parts_.effects.ResetActiveEffects();
    parts_.graph.Run();
}

void CommandRouter::Stop() {
    parts_.graph.Stop();
    parts_.window.Preview().repaint();
}

void CommandRouter::Seek() {
    if (!playbackPosition_ || !parts_.graph.HasSeeking()) return;
    const std::optional<SourceGraph::MediaTime> duration = parts_.graph.Duration();
    if (!duration) return;
    parts_.graph.SetCurrentPosition(static_cast<SourceGraph::MediaTime>(playbackPosition_()) * *duration / 100);
    parts_.effects.ResetActiveEffects();
}

void CommandRouter::OnMessage(QEvent& event) {
    const auto type = event.type();
    if (type == EventType(MSG_FRAME_READY) || type == EventType(MSG_GET_FRAME_COPY)) {
        QCoreApplication::sendEvent(&parts_.frames, &event);
    } else if (type == EventType(MSG_TRAY_NOTIFY)) {
        const auto* notify = dynamic_cast<const TrayNotifyEvent*>(&event);
        if (notify && (notify->button() == Qt::LeftButton || notify->button() == Qt::RightButton)) {
            parts_.window.ToggleMainWindow(parts_.tray.Present());
        }
    } else if (type == EventType(MSG_GRAPH_EVENT)) {
        if (parts_.graph.PollCompletion()) {
            parts_.sources.Videos().Next();
            parts_.connector.ConnectSource(false, false);
        }
    } else if (type == EventType(MSG_RECONNECT_SOURCE)) {
        parts_.connector.ConnectSource(false, false);
    }
}

void CommandRouter::OnCloseRequest() {
    if (closeHandler_) closeHandler_();
}

}  // namespace lumora
