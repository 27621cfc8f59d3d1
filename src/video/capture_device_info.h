// One capture device as the enumeration found it: what the Video source menu shows (the
// friendly name) and what the program opens and remembers (the device path).
//
// Plain value; copy it freely. Either field may be absent: a device whose name or path
// could not be read is still listed, but only a device with a path can be opened.
#pragma once

#include "vcam/virtual_camera_name.h"  // listed among the capture devices, never a source of its own

#include <optional>
#include <string>

namespace lumora {

struct CaptureDeviceInfo {
    std::optional<std::string> friendlyName;
    // "/dev/v4l/by-id/..." or "/dev/videoN" for a V4L2 device; "pattern:<name>" or
    // "packets:<path>" for an extra device (see extra_device_list.h).
    std::optional<std::string> devicePath;

    bool operator==(const CaptureDeviceInfo&) const = default;
};

}  // namespace lumora
