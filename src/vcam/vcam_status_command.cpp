#include "vcam/vcam_status_command.h"

#include "vcam/device_frame_format.h"
#include "vcam/device_openers.h"
#include "vcam/output_device_probe.h"

#include <cstring>

namespace lumora {

VcamStatusCommand::VcamStatusCommand(const LoopbackSysfs& sysfs, DeviceOpener opener, std::string procRoot,
                                     std::ostream& out, PipeWireSurveyor surveyor)
    : sysfs_(sysfs), opener_(std::move(opener)), procRoot_(std::move(procRoot)), out_(out),
      surveyor_(std::move(surveyor)) {}

int VcamStatusCommand::Run() {
    PrintModule();
    const auto device = sysfs_.FindByName(kVirtualCameraName);
    if (device) {
        PrintDevice(*device);
        PrintOpeners(device->node);
    } else {
        out_ << "Device:    no \"" << kVirtualCameraName << "\" device (run \"lumora-vcam setup\")\n";
    }
    const bool published = surveyor_ && PrintPipeWire();
    return device || published ? 0 : 1;
}

// True when the camera is published.
bool VcamStatusCommand::PrintPipeWire() {
    const PipeWireCameraReport report = surveyor_();
    if (!report.daemonReachable) {
        out_ << "PipeWire:  no PipeWire daemon answers (" << report.daemonError << ")\n";
        return false;
    }
    if (!report.published) {
        out_ << "PipeWire:  \"" << kVirtualCameraName << "\" is not published (Lumora publishes it while it runs)\n";
        return false;
    }
    out_ << "PipeWire:  \"" << kVirtualCameraName << "\" is published (node " << report.nodeId << ")\n";
    const std::string rate = report.rate.empty() ? "" : " at " + report.rate + " frames per second";
    if (report.format.empty()) {
        out_ << "Format:    " << report.size << rate << ", the layout chosen by its first consumer\n";
    } else {
        out_ << "Format:    " << report.size << " " << report.format << rate << "\n";
    }
    out_ << "Consumers: " << report.consumers << "\n";
    return true;
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
