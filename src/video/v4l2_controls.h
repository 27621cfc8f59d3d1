// V4l2Controls: DeviceControls over a V4L2 device node, read with VIDIOC_QUERYCTRL (and
// VIDIOC_QUERYMENU) and changed with VIDIOC_S_CTRL. The node is opened a second time,
// beside the capture element's own handle, as V4L2 allows.
//
// Thread: user-interface thread. Lifetime: holds the node open until destroyed.
#pragma once

#include "video/device_controls.h"

#include <memory>
#include <string>

namespace lumora {

class V4l2Controls final : public DeviceControls {
public:
    // Null when the node cannot be opened.
    static std::unique_ptr<V4l2Controls> Open(const std::string& devicePath);
    ~V4l2Controls() override;

    const std::vector<DeviceControl>& Controls() const override { return controls_; }
    bool Set(std::uint32_t id, std::int32_t value) override;

private:
    explicit V4l2Controls(int fd);
    void ReadControls();

    int fd_;
    std::vector<DeviceControl> controls_;
};

}  // namespace lumora
