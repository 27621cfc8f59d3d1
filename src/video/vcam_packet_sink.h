// A packet sink over a v4l2loopback output device: each packet goes through the
// VcamAdapter, which converts it for the device.
//
// The device format is read from the settings (key "SOFTWARE\Lumora\VirtualCamera":
// "Width" and "Height", default 1280×720; "FramesPerSecond", default 30; "PixelFormat",
// 0 YUYV (default) or 1 I420). With the backend "auto" (vcam_backend.h) and a PipeWire
// daemon that answers, the same frames also go to the PipeWire camera, so programs that
// take their cameras from PipeWire find "Lumora Capture" there too. Lifetime: owns the
// adapter, which closes the device, and the PipeWire camera.
#pragma once

#include "vcam/pipewire_camera.h"
#include "vcam/vcam_adapter.h"
#include "video/packet_sink.h"

#include <memory>
#include <string>

namespace lumora {

class VcamPacketSink final : public PacketSink {
public:
    // Opens the device at `path`; nothing when it is not a usable output device.
    static std::unique_ptr<VcamPacketSink> Open(const std::string& path);

    // The adapter configuration the settings ask for.
    static VcamConfig ConfigFromSettings();

    bool Write(const unsigned char* packet, std::size_t size) override;
    // The consumers of the PipeWire camera beside the device; -1 without it.
    int Consumers() const override { return alsoPublished_ ? alsoPublished_->Consumers() : -1; }

private:
    VcamPacketSink(std::unique_ptr<VcamAdapter> adapter, std::unique_ptr<PipeWireCamera> alsoPublished)
        : adapter_(std::move(adapter)), alsoPublished_(std::move(alsoPublished)) {}

    std::unique_ptr<VcamAdapter> adapter_;
    std::unique_ptr<PipeWireCamera> alsoPublished_;  // null when not published
};

}  // namespace lumora
