#include "video/capture_device_opener.h"

#include "video/extra_device_list.h"
#include "video/pattern_camera.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace lumora {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

GstElement* OpenV4l2Device(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return nullptr;
    GstElement* source = gst_element_factory_make("v4l2src", nullptr);
    if (source) g_object_set(source, "device", path.c_str(), nullptr);
    return source;
}

}  // namespace

GstElement* OpenCaptureDevice(const std::string& devicePath) {
    if (StartsWith(devicePath, kPatternDevicePrefix)) {
        return CreatePatternCamera(devicePath.substr(kPatternDevicePrefix.size()));
    }
    if (StartsWith(devicePath, kPacketsDevicePrefix)) return nullptr;
    return OpenV4l2Device(devicePath);
}

}  // namespace lumora
