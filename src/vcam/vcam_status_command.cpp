#include "vcam/vcam_status_command.h"

#include "vcam/device_frame_format.h"
#include "vcam/device_openers.h"
#include "vcam/output_device_probe.h"

#include <cstring>

namespace lumora {

VcamStatusCommand::VcamStatusCommand(const LoopbackSysfs& sysfs, DeviceOpener opener, std::string procRoot,
                                     std::ostream& out)
    : sysfs_(sysfs), opener_(std::move(opener)), procRoot_(std::move(procRoot)), out_(out) {}

int VcamStatusCommand::Run() {
    PrintModule();
    const auto device = sysfs_.FindByName(kVirtualCameraName);
    if (!device) {
        out_ << "Device:    no \"" << kVirtualCameraName << "\" device (run \"lumora-vcam setup\")\n";
        return 1;
    }
    PrintDevice(*device);
    PrintOpeners(device->node);
    return 0;
}

void VcamStatusCommand::PrintModule() {
    if (!sysfs_.ModuleLoaded()) {
        out_ << "Module:    v4l2loopback is not loaded\n";
        return;
    }
    const std::string version = sysfs_.ModuleVersion();
    out_ << "Module:    v4l2loopback " << (version.empty() ? "(version unknown)" : version) << " is loaded\n";
}

void VcamStatusCommand::PrintDevice(const VideoDeviceEntry& device) {
    out_ << "Device:    " << device.node << " \"" << device.name << "\"\n";
    std::unique_ptr<LoopbackDeviceIo> io = opener_();
    if (int error = io->Open(device.node)) {
        out_ << "Format:    unknown (cannot open " << device.node << ": " << std::strerror(error) << ")\n";
        return;
    }
    v4l2_capability capability;
    if (io->QueryCapabilities(&capability) == 0) {
        const std::uint32_t caps = NodeCapabilities(capability);
        out_ << "Phase:     "
             << ((caps & V4L2_CAP_VIDEO_CAPTURE) && !(caps & V4L2_CAP_VIDEO_OUTPUT)
                     ? "a producer is writing; capture programs see a camera"
                     : "waiting for a producer; capture programs do not list it yet")
             << "\n";
    }
    v4l2_format format;
    std::memset(&format, 0, sizeof format);
    format.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
    int error = io->GetFormat(&format);
    if (error) {
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        error = io->GetFormat(&format);
    }
    if (error) {
        out_ << "Format:    unknown (" << std::strerror(error) << ")\n";
    } else {
        out_ << "Format:    " << DescribeFormat(format.fmt.pix) << "\n";
    }
}

void VcamStatusCommand::PrintOpeners(const std::string& node) {
    const DeviceOpeners openers = FindDeviceOpeners(node, procRoot_);
    out_ << "Open by:   ";
    if (openers.processes.empty()) {
        out_ << (openers.incomplete ? "no process of yours (processes of other users cannot be checked)" : "nobody");
    } else {
        for (std::size_t i = 0; i < openers.processes.size(); ++i) out_ << (i ? ", " : "") << openers.processes[i];
        if (openers.incomplete) out_ << " (processes of other users cannot be checked)";
    }
    out_ << "\n";
}

}  // namespace lumora
