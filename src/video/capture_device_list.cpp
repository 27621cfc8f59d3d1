#include "video/capture_device_list.h"

#include "video/capture_device_ioctl_query.h"
#include "video/capture_device_opener.h"
#include "vcam/pipewire_daemon.h"
#include "video/extra_device_list.h"
#include "video/pipewire_camera_entry.h"
#include "video/v4l2_device_scanner.h"

#include <utility>

namespace lumora {

CaptureDeviceList::CaptureDeviceList() : CaptureDeviceList(&CaptureDeviceList::SystemDevices) {}

CaptureDeviceList::CaptureDeviceList(Enumerator enumerator)
    : enumerator_(std::move(enumerator)) {}

std::vector<CaptureDeviceInfo> CaptureDeviceList::SystemDevices() {
    const CaptureDeviceIoctlQuery query;
    std::vector<CaptureDeviceInfo> devices = V4l2DeviceScanner("/", query).Scan();
    std::vector<CaptureDeviceInfo> testDevices = ExtraDevicesFromEnvironment();
    devices.insert(devices.end(), std::make_move_iterator(testDevices.begin()),
                   std::make_move_iterator(testDevices.end()));
    AddPipeWireCameraEntry(devices, VcamBackendFromSettings(), [] { return PipeWireDaemonReachable(); });
    return devices;
}

bool CaptureDeviceList::EnumerateCaptureDevices() {
    std::vector<CaptureDeviceInfo> found = enumerator_ ? enumerator_() : decltype(found){};
    if (found.empty()) return false;
    devices_ = std::move(found);
    return true;
}

std::optional<std::string> CaptureDeviceList::FindDevicePathByName(std::string_view name) const {
    for (const CaptureDeviceInfo& device : devices_) {
        if (device.friendlyName == name && device.devicePath) return device.devicePath;
    }
    return std::nullopt;
}

const CaptureDeviceInfo* CaptureDeviceList::DeviceAt(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &devices_[static_cast<std::size_t>(index)];
}

GstElement* CaptureDeviceList::OpenCaptureFilter(int index) const {
    const CaptureDeviceInfo* device = DeviceAt(index);
    if (!device || !device->devicePath) return nullptr;
    return OpenCaptureDevice(*device->devicePath);
}

}  // namespace lumora
