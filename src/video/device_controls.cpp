#include "video/device_controls.h"

#include "video/v4l2_controls.h"

#include <cstring>

namespace lumora {

std::unique_ptr<DeviceControls> DeviceControls::ForCaptureElement(GstElement* element) {
    GstElementFactory* factory = element ? gst_element_get_factory(element) : nullptr;
    if (factory == nullptr || std::strcmp(GST_OBJECT_NAME(factory), "v4l2src") != 0) return nullptr;
    gchar* device = nullptr;
    g_object_get(element, "device", &device, nullptr);
    std::unique_ptr<DeviceControls> controls;
    if (device != nullptr) controls = V4l2Controls::Open(device);
    g_free(device);
    return controls;
}

}  // namespace lumora
