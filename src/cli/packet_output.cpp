#include "cli/packet_output.h"

#include "frames/frame_packet.h"
#include "frames/frame_store.h"
#include "video/capture_device_info.h"
#include "video/pipewire_camera_entry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumora::cli {
namespace {

// A path that does not exist, or names a regular file, is started as an empty file.
std::string StartEmptyFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return {};
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return {};
}

}  // namespace

bool PacketOutput::IsFifo(const std::string& output) {
    struct stat info {};
    return !IsVirtualCamera(output) && output != "none" && ::stat(output.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

bool PacketOutput::Open(const std::string& output, VirtualCameraLink& link, const CaptureDeviceList& devices) {
    path_ = output;
    if (output == "none") {
        discard_ = true;
        return true;
    }
    if (output == "pipewire") return OpenPipeWireCamera(link);
    return output == "vcam" ? OpenVirtualCamera(link, devices) : OpenPath(output);
}

bool PacketOutput::OpenVirtualCamera(VirtualCameraLink& link, const CaptureDeviceList& devices) {
    switch (link.OpenListed(devices)) {
        case VirtualCameraLink::Opening::kOpened:
            link_ = &link;
            path_ = link.Path();
            return true;
        case VirtualCameraLink::Opening::kNotListed:
            failure_ = std::string("The virtual camera \"") + kVirtualCameraName +
                       "\" is not set up (lumora-vcam setup); choose --output <file> or --output none.";
            return false;
        case VirtualCameraLink::Opening::kNotOpened: break;
    }
    failure_ = "Cannot open " + link.Path() + " for the video.";
    return false;
}

bool PacketOutput::OpenPipeWireCamera(VirtualCameraLink& link) {
    if (link.Open(std::string(kPipeWireDevicePath))) {
        link_ = &link;
        return true;
    }
    failure_ = std::string("The PipeWire camera \"") + kVirtualCameraName +
               "\" cannot be published: no PipeWire daemon answers.";
    return false;
}

bool PacketOutput::OpenPath(const std::string& path) {
    if (const std::string reason = StartEmptyFile(path); !reason.empty()) {
        failure_ = "Cannot create " + path + ": " + reason;
        return false;
    }
    std::string reason;
    file_ = PacketFileSink::Open(path, PacketFileSink::FifoPeer::kWaitForReader, &reason);
    if (file_ == nullptr) {
        failure_ = "Cannot open " + path + ": " + reason;
        return false;
    }
    return true;
}

void PacketOutput::SetPatience(std::function<bool()> keepWaiting) {
    if (file_ != nullptr) file_->SetPatience(std::move(keepWaiting));
}

PacketOutput::Result PacketOutput::Write(FrameStore& store) {
    // Taken from the store even when discarded: it went out, to nowhere.
    const FramePacketView packet = store.BuildPacket();
    if (packet.repeat) return Result::kRepeat;
    if (discard_) return Result::kWritten;
    if (packet.data == nullptr) return Result::kDropped;  // no memory for this one
    const std::uint32_t payload = packet.PayloadSize();
    if (file_ == nullptr) {
        return link_ != nullptr && link_->WritePacket(packet.data, payload) ? Result::kWritten : Result::kDropped;
    }
    FramePacket::FillLinkFields(packet.data, payload);
    if (file_->Write(packet.data, packet.size)) return Result::kWritten;
    if (file_->Failure().empty()) return Result::kDropped;
    failure_ = "Cannot write " + path_ + ": " + file_->Failure();
    return Result::kFailed;
}

}  // namespace lumora::cli
