#include "video/virtual_camera_link.h"

#include "frames/frame_packet.h"
#include "vcam/output_device_probe.h"
#include "video/capture_device_info.h"
#include "video/capture_device_list.h"
#include "video/extra_device_list.h"
#include "video/packet_file_sink.h"
#include "video/pipewire_camera_entry.h"
#include "video/pipewire_packet_sink.h"
#include "video/vcam_packet_sink.h"

namespace lumora {
namespace {

std::unique_ptr<PacketSink> OpenSink(const std::string& path) {
    if (path.starts_with(kPacketsDevicePrefix)) return PacketFileSink::Open(path.substr(kPacketsDevicePrefix.size()));
    if (path == kPipeWireDevicePath) return PipeWirePacketSink::Open();
    if (IsV4l2OutputDevice(path)) return VcamPacketSink::Open(path);
    return PacketFileSink::Open(path);
}

}  // namespace

VirtualCameraLink::VirtualCameraLink() = default;
VirtualCameraLink::~VirtualCameraLink() = default;

bool VirtualCameraLink::Open(const std::string& path) {
    if (sink_ || path.empty()) return false;
    path_ = path;
    sink_ = OpenSink(path);
    return sink_ != nullptr;
}

VirtualCameraLink::Opening VirtualCameraLink::OpenListed(const CaptureDeviceList& devices) {
    const std::optional<std::string> path = devices.FindDevicePathByName(kVirtualCameraName);
    if (!path) return Opening::kNotListed;
    return Open(*path) ? Opening::kOpened : Opening::kNotOpened;
}

void VirtualCameraLink::Close() { sink_.reset(); }

int VirtualCameraLink::Consumers() const { return sink_ ? sink_->Consumers() : -1; }

bool VirtualCameraLink::WritePacket(unsigned char* packet, std::uint32_t payloadSize) {
    if (!sink_ || !packet) return false;
    FramePacket::FillLinkFields(packet, payloadSize);
    return sink_->Write(packet, FramePacket::kHeaderSize + payloadSize);
}

}  // namespace lumora
