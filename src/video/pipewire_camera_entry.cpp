#include "video/pipewire_camera_entry.h"

#include <algorithm>
#include <string>

namespace lumora {
namespace {

bool IsVirtualCamera(const CaptureDeviceInfo& device) {
    return device.friendlyName == kVirtualCameraName && device.devicePath.has_value();
}

}  // namespace

void AddPipeWireCameraEntry(std::vector<CaptureDeviceInfo>& devices, VcamBackend backend,
                            const std::function<bool()>& daemonReachable) {
    if (backend == VcamBackend::kLoopback) return;
    if (backend == VcamBackend::kPipeWire) {
        std::erase_if(devices, IsVirtualCamera);
    } else if (std::any_of(devices.begin(), devices.end(), IsVirtualCamera)) {
        return;
    }
    if (!daemonReachable()) return;
    devices.push_back({std::string(kVirtualCameraName), std::string(kPipeWireDevicePath)});
}

}  // namespace lumora
