#include "cli/source_selection.h"

#include "platform/program_paths.h"
#include "video/capture_device_list.h"
#include "video/pattern_camera.h"
#include "video/push_source_screen.h"
#include "video/source_graph.h"

namespace lumora::cli {
namespace {

// Pictures and patterns; the desktop runs at 5 frames per second.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr int kDefaultFramesPerSecond = 30;
constexpr int kDesktopFramesPerSecond = 5;

constexpr char kSamplePicture[] = "images/sample.jpg";

}  // namespace

SourceSelection::SourceSelection(const RunOptions& options, const CaptureDeviceList& devices, SourceGraph& graph,
                                 SkipReport skipped)
    : options_(options), devices_(devices), graph_(graph), skipped_(std::move(skipped)) {}

bool SourceSelection::Prepare() {
    if (options_.source.kind == SourceArgument::Kind::kPlaylist) {
        if (!playlist_.LoadPls(options_.source.path)) {
            error_ = "cannot read the playlist " + options_.source.path;
            return false;
        }
        if (playlist_.Count() == 0) {
            error_ = "the playlist " + options_.source.path + " names no file";
            return false;
        }
    }
    for (const std::string& file : options_.source.files) playlist_.AddFile(file);
    if (playlist_.Count() > 1 && !options_.recordFile.empty()) {
        error_ = "--record takes a source of one file";
        return false;
    }
    return true;
}

bool SourceSelection::SelectFirst() {
    if (playlist_.Count() == 0) return SelectSingle();
    return SelectFileFrom(0);
}

bool SourceSelection::SelectNext() {
    const int next = playlist_.CurrentIndex() + 1;
    return next < playlist_.Count() && SelectFileFrom(next);
}

bool SourceSelection::SelectFileFrom(int index) {
    for (; index < playlist_.Count(); ++index) {
        const std::string file = *playlist_.Select(index);
        if (graph_.SelectVideoFile(file)) return true;
        ++failures_;
        if (skipped_) skipped_(file);
    }
    return false;
}

std::optional<std::string> SourceSelection::CurrentFile() const {
    return playlist_.Count() > 0 ? playlist_.Current() : std::nullopt;
}

bool SourceSelection::SelectSingle() {
    const SourceArgument& source = options_.source;
    const int width = options_.width.value_or(kDefaultWidth);
    const int height = options_.height.value_or(kDefaultHeight);
    switch (source.kind) {
        case SourceArgument::Kind::kSamplePicture:
        case SourceArgument::Kind::kImage: {
            const std::string path = source.kind == SourceArgument::Kind::kImage ? source.path
                                                                            : ProgramFolder() + kSamplePicture;
            return graph_.SelectImageFile(path, width, height, options_.framesPerSecond.value_or(kDefaultFramesPerSecond));
        }
        case SourceArgument::Kind::kDesktop: return SelectDesktop();
        case SourceArgument::Kind::kPattern: return SelectPattern();
        case SourceArgument::Kind::kDevice: return SelectDevice();
        case SourceArgument::Kind::kFiles:
        case SourceArgument::Kind::kPlaylist: break;
    }
    return false;
}

bool SourceSelection::SelectDesktop() {
    const ZImageRect rect = options_.source.desktopRect.value_or(ReadDesktopScreenRect());
    return graph_.SelectDesktop(rect, options_.width.value_or(kDefaultWidth), options_.height.value_or(kDefaultHeight),
                                options_.framesPerSecond.value_or(kDesktopFramesPerSecond));
}

bool SourceSelection::SelectPattern() {
    const std::string caps = "video/x-raw, format=(string)I420, width=(int)" +
                             std::to_string(options_.width.value_or(kDefaultWidth)) +
                             ", height=(int)" + std::to_string(options_.height.value_or(kDefaultHeight)) +
                             ", pixel-aspect-ratio=(fraction)1/1, framerate=(fraction)" +
                             std::to_string(options_.framesPerSecond.value_or(kDefaultFramesPerSecond)) + "/1";
    GstCaps* formats = gst_caps_from_string(caps.c_str());
    GstElement* camera = CreatePatternSource(options_.source.pattern, formats, !options_.fast);
    gst_caps_unref(formats);
    if (camera == nullptr) {
        error_ = "unknown pattern \"" + options_.source.pattern + "\"";
        return false;
    }
    return graph_.SelectCaptureDevice(camera);
}

bool SourceSelection::SelectDevice() {
    const CaptureDeviceInfo* device = devices_.DeviceAt(options_.source.deviceIndex);
    GstElement* element = device != nullptr ? devices_.OpenCaptureFilter(options_.source.deviceIndex) : nullptr;
    if (element == nullptr) {
        error_ = device == nullptr ? "there is no capture device " + std::to_string(options_.source.deviceIndex)
                                   : "the capture device " + device->friendlyName.value_or("") + " gives no video";
        return false;
    }
    return graph_.SelectCaptureDevice(element);
}

}  // namespace lumora::cli
