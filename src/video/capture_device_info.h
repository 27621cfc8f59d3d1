// One capture device as the enumeration found it: what the Video source menu shows (the
// friendly name) and what the program opens and remembers (the device path).
//
// Plain value; copy it freely. Either field may be absent: a device whose name or path
// could not be read is still listed, but only a device with a path can be opened.
#pragma once

#include <optional>
#include <string>

namespace lumora {

// The name the virtual camera device goes by: listed among the capture devices, never a
// source of its own.
inline constexpr char kVirtualCameraName[] = "Lumora Capture";

struct CaptureDeviceInfo {
    std::optional<std::string> friendlyName;
    // "/dev/v4l/by-id/..." or "/dev/videoN" for a V4L2 device; "pattern:<name>" or
    // "packets:<path>" for a test device.
    std::optional<std::string> devicePath;

    bool operator==(const CaptureDeviceInfo&) const = default;
};

}  // namespace lumora
