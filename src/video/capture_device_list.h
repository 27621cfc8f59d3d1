// The capture devices found at start-up, in enumeration order: the V4L2 video input
// devices of the system (see V4l2DeviceScanner), then the extra devices of
// LUMORA_TEST_DEVICES (see extra_device_list.h), then the PipeWire camera when it stands in
// for the loopback device (see pipewire_camera_entry.h). An entry's index is its place in the
// Video source menu's device part (SourceId 1003 + index).
//
// Thread: user-interface thread. Lifetime: owned by the application (inside its virtual
// camera link), filled once at start-up; the picture-in-picture effect reads the same list.
#pragma once

#include "video/capture_device_info.h"

#include <gst/gst.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

class CaptureDeviceList {
public:
    // Where the entries come from; called by every EnumerateCaptureDevices.
    using Enumerator = std::function<std::vector<CaptureDeviceInfo>()>;

    // The system's devices, then the extra devices.
    CaptureDeviceList();
    explicit CaptureDeviceList(Enumerator enumerator);

    // Refills the list. False, leaving the list as it was, when nothing is found.
    bool EnumerateCaptureDevices();

    // The device path of the first entry whose friendly name is exactly `name` and that
    // has a path; nothing otherwise.
    std::optional<std::string> FindDevicePathByName(std::string_view name) const;

    // The entry at `index`, or null when there is none. The pointer stays valid until the
    // next EnumerateCaptureDevices or the list's end.
    const CaptureDeviceInfo* DeviceAt(int index) const;
    int Count() const { return static_cast<int>(devices_.size()); }

    // A new capture source element for the entry's device path, made fresh on every call:
    // a floating reference the caller owns (see capture_device_opener.h). Null when the
    // entry or its path is missing, the device has gone away, or the device gives no video.
    GstElement* OpenCaptureFilter(int index) const;

    // The enumeration of the running program: V4L2 devices below "/", extra devices, the
    // PipeWire camera.
    static std::vector<CaptureDeviceInfo> SystemDevices();

private:
    Enumerator enumerator_;
    std::vector<CaptureDeviceInfo> devices_;
};

}  // namespace lumora
