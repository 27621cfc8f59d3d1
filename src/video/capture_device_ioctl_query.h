// CaptureDeviceQuery over the real kernel interface: opens the node, asks VIDIOC_QUERYCAP,
// closes it again. Stateless; any thread.
#pragma once

#include "video/capture_device_query.h"

namespace lumora {

class CaptureDeviceIoctlQuery final : public CaptureDeviceQuery {
public:
    std::optional<V4l2Capability> QueryCapability(
        const std::filesystem::path& node) const override;
};

}  // namespace lumora
