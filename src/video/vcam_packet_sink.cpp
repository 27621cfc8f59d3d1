#include "video/vcam_packet_sink.h"

#include <lumora/registry.h>

namespace lumora {
namespace {

constexpr const char kKey[] = "SOFTWARE\\Lumora\\VirtualCamera";

}  // namespace

VcamConfig VcamPacketSink::ConfigFromSettings() {
    VcamConfig options;
    DeviceFrameFormat format;
    format.width = static_cast<int>(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Width", 1280));
    format.height = static_cast<int>(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Height", 720));
    format.pixelFormat = ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "PixelFormat", 0) == 1
                             ? VcamPixelFormat::kI420
                             : VcamPixelFormat::kYuyv;
    // A size the device formats cannot take keeps the default.
    if (format.IsValid() && format.width <= 8192 && format.height <= 8192) options.format = format;
    const auto fps = ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "FramesPerSecond", 30);
    if (fps >= 1 && fps <= 60) options.framesPerSecond = static_cast<int>(fps);
    return options;
}

std::unique_ptr<VcamPacketSink> VcamPacketSink::Open(const std::string& path) {
    auto adapter = VcamAdapter::OpenDevice(path, ConfigFromSettings());
    if (!adapter) return nullptr;
    return std::unique_ptr<VcamPacketSink>(new VcamPacketSink(std::move(adapter)));
}

bool VcamPacketSink::Write(const unsigned char* packet, std::size_t size) {
    return adapter_->WritePacket(packet, size);
}

}  // namespace lumora
