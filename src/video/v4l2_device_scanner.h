// Finds the V4L2 video input devices below a root folder ("/" in the program, a fake tree
// in tests): every /dev/videoN whose node captures video (single- or multi-planar), and
// every v4l2loopback node whatever it currently reports (with exclusive_caps a loopback
// device only shows output capability until a producer writes to it, and Lumora's own
// virtual camera is such a device). Nodes that do neither, such as a camera's metadata
// node, are left out.
//
// Each device gets
// - friendly name: the udev product name (ID_V4L_PRODUCT in run/udev/data/c<maj>:<min>)
//   when udev recorded one, else the card name the driver reports;
// - device path: a dev/v4l/by-id link that resolves to the node (the first by name) when
//   there is one, else dev/videoN — both spelled below the root.
//
// Order: device number (video2 before video10). Not thread-safe to share while scanning;
// it holds no state between scans. The query must outlive the scanner.
#pragma once

#include "video/capture_device_info.h"
#include "video/capture_device_query.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

class V4l2DeviceScanner {
public:
    V4l2DeviceScanner(std::filesystem::path root, const CaptureDeviceQuery& query);

    std::vector<CaptureDeviceInfo> Scan() const;

    // Whether a node with these capabilities is one Lumora lists.
    static bool IsVideoInput(const V4l2Capability& capability);

private:
    struct Node {
        int number;
        std::filesystem::path path;
    };

    std::vector<Node> VideoNodes() const;
    std::string FriendlyName(const Node& node, const V4l2Capability& capability) const;
    std::optional<std::string> UdevProductName(const Node& node) const;
    std::string DevicePath(const Node& node) const;

    std::filesystem::path root_;
    const CaptureDeviceQuery& query_;
};

}  // namespace lumora
