// DeviceControls: the adjustable controls of a capture device (brightness, contrast,
// white balance, ...) — what the capture filter's property page shows. The V4L2
// implementation is V4l2Controls; tests give the page a stand-in.
//
// Thread: user-interface thread.
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lumora {

struct DeviceControl {
    enum class Type { kInteger, kBoolean, kMenu, kButton };

    std::uint32_t id = 0;
    std::string name;
    Type type = Type::kInteger;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t step = 1;
    std::int32_t defaultValue = 0;
    std::int32_t value = 0;
    std::vector<std::pair<std::int32_t, std::string>> menu;  // kMenu: value and label
};

class DeviceControls {
public:
    virtual ~DeviceControls() = default;

    virtual const std::vector<DeviceControl>& Controls() const = 0;

    // Sets a control on the device at once. False when the device refuses.
    virtual bool Set(std::uint32_t id, std::int32_t value) = 0;

    // The controls of the V4L2 device behind a capture element (a v4l2src, by its "device"
    // property); null for any other element, or when the device cannot be opened.
    static std::unique_ptr<DeviceControls> ForCaptureElement(GstElement* element);
};

}  // namespace lumora
