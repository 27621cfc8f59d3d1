#include "video/vcam_packet_sink.h"

#include "vcam/vcam_backend.h"

#include <lumora/registry.h>

namespace lumora {
namespace {

constexpr const char* kKey = kVcamSettingsKey;

// The PipeWire camera beside the loopback device, when "auto" asks for it and a daemon answers.
std::unique_ptr<PipeWireCamera> PublishBeside(const VcamConfig& config) {
    if (VcamBackendFromSettings() != VcamBackend::kAuto) return nullptr;
    auto camera = std::make_unique<PipeWireCamera>(config);
    return camera->Open() ? std::move(camera) : nullptr;
}

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
    const VcamConfig config = ConfigFromSettings();
    auto adapter = VcamAdapter::OpenDevice(path, config);
    if (!adapter) return nullptr;
    return std::unique_ptr<VcamPacketSink>(new VcamPacketSink(std::move(adapter), PublishBeside(config)));
}

bool VcamPacketSink::Write(const unsigned char* packet, std::size_t size) {
    if (alsoPublished_) alsoPublished_->WritePacket(packet, size);
    return adapter_->WritePacket(packet, size);
}

}  // namespace lumora
