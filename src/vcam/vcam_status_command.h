// `lumora-vcam status`: whether the v4l2loopback module is loaded and which version, which
// device is "Lumora Capture", its format and capability phase, and which programs hold it
// open. Reads sysfs through LoopbackSysfs, the device through a LoopbackDeviceIo the
// caller makes, and /proc through FindDeviceOpeners.
// One thread; the referenced objects must outlive the command.
#pragma once

#include "vcam/loopback_device_io.h"
#include "vcam/loopback_sysfs.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace lumora {

class VcamStatusCommand {
public:
    using DeviceOpener = std::function<std::unique_ptr<LoopbackDeviceIo>()>;

    VcamStatusCommand(const LoopbackSysfs& sysfs, DeviceOpener opener, std::string procRoot, std::ostream& out);

    // 0 when "Lumora Capture" exists, 1 otherwise.
    int Run();

private:
    void PrintModule();
    void PrintDevice(const VideoDeviceEntry& device);
    void PrintOpeners(const std::string& node);

    const LoopbackSysfs& sysfs_;
    DeviceOpener opener_;
    std::string procRoot_;
    std::ostream& out_;
};

}  // namespace lumora
