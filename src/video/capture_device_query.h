// The one question the device scanner asks a V4L2 node: its VIDIOC_QUERYCAP answer. An
// interface so that scanning can run over a fake /dev tree in tests.
//
// Implementations must be callable from the thread that scans (the user-interface thread)
// and keep no device open after the call returns.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace lumora {

// The fields of struct v4l2_capability the scanner looks at.
struct V4l2Capability {
    std::string driver;             // "uvcvideo", "v4l2 loopback", ...
    std::string card;               // the card name, e.g. "HD Webcam" or a loopback label
    std::uint32_t capabilities = 0; // the whole physical device
    std::uint32_t deviceCaps = 0;   // this node; valid when capabilities has V4L2_CAP_DEVICE_CAPS
};

class CaptureDeviceQuery {
public:
    virtual ~CaptureDeviceQuery() = default;

    // The node's capabilities, or nothing when it cannot be opened or is not a V4L2 device.
    virtual std::optional<V4l2Capability> QueryCapability(
        const std::filesystem::path& node) const = 0;
};

}  // namespace lumora
