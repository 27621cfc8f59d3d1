// A packet sink over the PipeWire camera (device path "pipewire:lumora-capture"): each
// packet goes to the PipeWireCamera, which publishes "Lumora Capture" as a PipeWire node.
// The format comes from the same settings as the loopback device's
// (VcamPacketSink::ConfigFromSettings). Lifetime: owns the camera, which unpublishes the
// node at the end.
#pragma once

#include "vcam/pipewire_camera.h"
#include "video/packet_sink.h"

#include <memory>
#include <string>

namespace lumora {

class PipeWirePacketSink final : public PacketSink {
public:
    // Publishes the camera; nothing when no PipeWire daemon answers (the reason goes to
    // `error`).
    static std::unique_ptr<PipeWirePacketSink> Open(std::string* error = nullptr);

    bool Write(const unsigned char* packet, std::size_t size) override;
    int Consumers() const override { return camera_->Consumers(); }

private:
    explicit PipeWirePacketSink(std::unique_ptr<PipeWireCamera> camera) : camera_(std::move(camera)) {}

    std::unique_ptr<PipeWireCamera> camera_;
};

}  // namespace lumora
