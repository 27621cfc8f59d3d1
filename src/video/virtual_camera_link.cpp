#include "video/virtual_camera_link.h"

#include "frames/frame_packet.h"
#include "vcam/output_device_probe.h"
#include "video/packet_file_sink.h"
#include "video/vcam_packet_sink.h"

namespace lumora {
namespace {

constexpr const char kPacketsPrefix[] = "packets:";

std::unique_ptr<PacketSink> OpenSink(const std::string& path) {
    if (path.rfind(kPacketsPrefix, 0) == 0) {
        return PacketFileSink::Open(path.substr(sizeof kPacketsPrefix - 1));
    }
    if (IsV4l2OutputDevice(path)) return VcamPacketSink::Open(path);
    return PacketFileSink::Open(path);
}

}  // namespace

VirtualCameraLink::VirtualCameraLink() = default;
VirtualCameraLink::~VirtualCameraLink() = default;

bool VirtualCameraLink::Open(const std::string& path) {
    if (sink_ || path.empty()) return false;
    sink_ = OpenSink(path);
    return sink_ != nullptr;
}

void VirtualCameraLink::Close() { sink_.reset(); }

bool VirtualCameraLink::WritePacket(unsigned char* packet, std::uint32_t payloadSize) {
    if (!sink_ || !packet) return false;
    FramePacket::FillLinkFields(packet, payloadSize);
    return sink_->Write(packet, FramePacket::kHeaderSize + payloadSize);
}

}  // namespace lumora
