#include "app/window/source_connector.h"

#include "app/window/command_ids.h"
#include "app/window/file_menu.h"
#include "app/window/main_window.h"
#include "app/window/video_options_menu.h"
#include "app/window/video_source_menu.h"
#include "effects/effect_chain.h"
#include "frames/frame_store.h"
#include "platform/message_box.h"
#include "video/capture_device_list.h"
#include "video/source_graph.h"

#include <cstdlib>

namespace lumora {

namespace {

constexpr char kSelectSource[] = "Please select video source!";
constexpr char kDeviceGone[] = "Couldn't connect to specified video source device!";

}  // namespace

SourceConnector::SourceConnector(Parts parts, Hooks hooks) : parts_(parts), hooks_(std::move(hooks)) {}

void SourceConnector::UpdateOptionsEnabling() {
    if (hooks_.updateOptionsEnabling) hooks_.updateOptionsEnabling();
}

void SourceConnector::ShowElapsedTime(bool on) {
    if (hooks_.showElapsedTime) hooks_.showElapsedTime(on);
}

SourceConnector::Build SourceConnector::BuildCaptureDevice(int index, bool restartCapture, bool record) {
    bool built = false;
    if (restartCapture) {
        const std::string name = hooks_.recordingFileName ? hooks_.recordingFileName() : std::string();
        built = !name.empty() && parts_.graph.RestartCapture(record, name) == S_OK;
    } else {
        // The inset's second camera may be the one about to be opened.
        const EffectId pip = parts_.effects.pipEffectId();
        if (parts_.effects.IsEffectActive(pip)) parts_.effects.FindEffect(pip)->Stop();
        GstElement* device = parts_.devices.OpenCaptureFilter(index);
        if (!device) {
            ShowAppMessage(kDeviceGone, mb::kIconWarning);
            ResetSource();
            return Build::kStop;
        }
        built = parts_.graph.SelectCaptureDevice(device);
    }
    UpdateOptionsEnabling();
    return built ? Build::kBuilt : Build::kFailed;
}

SourceConnector::Build SourceConnector::BuildVideoFile() {
    Playlist& playlist = parts_.sources.Videos();
    for (std::optional<std::string> file = playlist.Current(); file; file = playlist.Current()) {
        const bool built = parts_.graph.SelectVideoFile(*file);
        UpdateOptionsEnabling();
        if (built) return Build::kBuilt;
        // The file that took the failed one's place is next; in random order any other.
        playlist.Remove(playlist.CurrentIndex());
        if (playlist.Random()) {
            playlist.Next();
        } else {
            playlist.Select(playlist.CurrentIndex());
        }
    }
    return Build::kStop;
}

SourceConnector::Build SourceConnector::BuildImageFile() {
    const std::optional<std::string>& path = parts_.sources.ImagePath();
    if (!path) return Build::kStop;
    const bool built = parts_.graph.SelectImageFile(*path, 640, 480, 30);
    UpdateOptionsEnabling();
    return built ? Build::kBuilt : Build::kFailed;
}

bool SourceConnector::ConnectSource(bool restartCapture, bool record) {
    ShowElapsedTime(false);
    const int sourceId = parts_.sources.SourceId();
    Build build = Build::kStop;
    if (sourceId >= cmd::kFirstCaptureDevice) {
        build = BuildCaptureDevice(sourceId - cmd::kFirstCaptureDevice, restartCapture, record);
    } else if (sourceId == cmd::kVideoFile) {
        build = BuildVideoFile();
    } else if (sourceId == cmd::kDesktop) {
        build = parts_.graph.SelectDesktop(ZImageRect{0, 0, 640, 480}, 640, 480, 5) ? Build::kBuilt : Build::kFailed;
        UpdateOptionsEnabling();
    } else if (sourceId == cmd::kImageFile) {
        build = BuildImageFile();
    }
    if (build == Build::kStop) return false;
    if (build == Build::kFailed) {
        ResetSource();
        return false;
    }
    FinishConnection(sourceId);
    return true;
}

void SourceConnector::FinishConnection(int sourceId) {
    LayoutMainWindow();
    parts_.options.Build(&parts_.graph, sourceId);
    if (sourceId != 0) {
        parts_.effects.ResetActiveEffects();
        parts_.graph.Run();
    } else {
        ShowAppMessage(kSelectSource, mb::kIconInformation);
    }
    parts_.file.EnableItem(cmd::kPhotos, true);
    if (sourceId < cmd::kFirstCaptureDevice) {
        parts_.file.EnableItem(cmd::kVideos, false);
        if (hooks_.hideRecordingDialog) hooks_.hideRecordingDialog();
    } else {
        parts_.file.EnableItem(cmd::kVideos, true);
        if (parts_.graph.RecordToFile()) ShowElapsedTime(true);
    }
}

void SourceConnector::ResetSource() {
    parts_.graph.Teardown(true, true);
    UpdateOptionsEnabling();
    parts_.sources.ClearSourceSelection();
    parts_.file.EnableItem(cmd::kVideos, false);
    parts_.file.EnableItem(cmd::kPhotos, false);
    parts_.options.Build(nullptr, 0);
    parts_.effects.ClearActiveEffects();
    ShowElapsedTime(false);
}

void SourceConnector::LayoutMainWindow() {
    ZImageBitmapInfoHeader format{};
    {
        const FrameStore::Lock lock = parts_.store.WaitLock();
        format = parts_.store.Format(lock);
    }
    const QSize video(format.biWidth, std::abs(format.biHeight));
    parts_.window.Layout(video);
    const MainWindowLayout layout(video);
    parts_.graph.SetVideoPosition(0, 0, layout.Video().width(), layout.Video().height());
}

}  // namespace lumora
