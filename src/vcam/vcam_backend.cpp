#include "vcam/vcam_backend.h"

#include <lumora/registry.h>

#include <optional>
#include <string>

namespace lumora {

std::optional<VcamBackend> ParseVcamBackend(std::string_view text) {
    if (text == "auto") return VcamBackend::kAuto;
    if (text == "loopback") return VcamBackend::kLoopback;
    if (text == "pipewire") return VcamBackend::kPipeWire;
    return std::nullopt;
}

std::string_view VcamBackendName(VcamBackend backend) {
    switch (backend) {
        case VcamBackend::kLoopback: return "loopback";
        case VcamBackend::kPipeWire: return "pipewire";
        case VcamBackend::kAuto: break;
    }
    return "auto";
}

VcamBackend VcamBackendFromSettings() {
    const std::optional<std::string> text = ReadRegString(HKEY_LOCAL_MACHINE, kVcamSettingsKey, "Backend");
    return text ? ParseVcamBackend(*text).value_or(VcamBackend::kAuto) : VcamBackend::kAuto;
}

}  // namespace lumora
