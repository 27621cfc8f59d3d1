#include "session/device_camera_catalogue.h"

#include "video/capture_device_info.h"
#include "video/capture_device_list.h"

namespace lumora {

int DeviceCameraCatalogue::CameraCount() const { return devices_.Count(); }

std::optional<std::string> DeviceCameraCatalogue::CameraName(int index) const {
    const CaptureDeviceInfo* info = devices_.DeviceAt(index);
    if (!info || !info->devicePath || info->friendlyName == kVirtualCameraName) return std::nullopt;
    return info->friendlyName.value_or(*info->devicePath);
}

GstElement* DeviceCameraCatalogue::MakeCameraSource(int index) const { return devices_.OpenCaptureFilter(index); }

}  // namespace lumora
