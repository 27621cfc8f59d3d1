// A packet sink over a v4l2loopback output device: each packet goes through the
// VcamAdapter, which converts it for the device.
//
// The device format is read from the settings (key "SOFTWARE\Lumora\VirtualCamera":
// "Width" and "Height", default 1280×720; "FramesPerSecond", default 30; "PixelFormat",
// 0 YUYV (default) or 1 I420). Lifetime: owns the adapter, which closes the device.
#pragma once

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

private:
    explicit VcamPacketSink(std::unique_ptr<VcamAdapter> adapter) : adapter_(std::move(adapter)) {}

    std::unique_ptr<VcamAdapter> adapter_;
};

}  // namespace lumora
