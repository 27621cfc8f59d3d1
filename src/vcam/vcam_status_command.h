// `lumora-vcam status`: whether the v4l2loopback module is loaded and which version, which
// device is "Lumora Capture", its format and capability phase, and which programs hold it
// open; then, given a surveyor, the PipeWire camera: whether a daemon answers, whether
// "Lumora Capture" is published there, its format and how many consumers it has. Reads
// sysfs through LoopbackSysfs, the device through a LoopbackDeviceIo the caller makes,
// /proc through FindDeviceOpeners, and the daemon through the surveyor.
// One thread; the referenced objects must outlive the command.
#pragma once

#include "vcam/loopback_device_io.h"
#include "vcam/loopback_sysfs.h"
#include "vcam/pipewire_camera_survey.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace lumora {

class VcamStatusCommand {
public:
    using DeviceOpener = std::function<std::unique_ptr<LoopbackDeviceIo>()>;
    using PipeWireSurveyor = std::function<PipeWireCameraReport()>;

    // Without a surveyor the PipeWire camera is left out.
    VcamStatusCommand(const LoopbackSysfs& sysfs, DeviceOpener opener, std::string procRoot, std::ostream& out,
                      PipeWireSurveyor surveyor = {});

    // 0 when "Lumora Capture" exists (as a device or published on PipeWire), 1 otherwise.
    int Run();

private:
    void PrintModule();
    void PrintDevice(const VideoDeviceEntry& device);
    void PrintOpeners(const std::string& node);
    bool PrintPipeWire();

    const LoopbackSysfs& sysfs_;
    DeviceOpener opener_;
    std::string procRoot_;
    std::ostream& out_;
    PipeWireSurveyor surveyor_;
};

}  // namespace lumora
