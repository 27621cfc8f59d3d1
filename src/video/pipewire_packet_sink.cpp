#include "video/pipewire_packet_sink.h"

#include "video/vcam_packet_sink.h"

namespace lumora {

std::unique_ptr<PipeWirePacketSink> PipeWirePacketSink::Open(std::string* error) {
    auto camera = std::make_unique<PipeWireCamera>(VcamPacketSink::ConfigFromSettings());
    if (!camera->Open(error)) return nullptr;
    return std::unique_ptr<PipeWirePacketSink>(new PipeWirePacketSink(std::move(camera)));
}

bool PipeWirePacketSink::Write(const unsigned char* packet, std::size_t size) {
    return camera_->WritePacket(packet, size);
}

}  // namespace lumora
