// VcamBackend: which virtual camera Lumora feeds, from the settings value
// "SOFTWARE\Lumora\VirtualCamera" "Backend" (text: "auto", "loopback" or "pipewire";
// anything else, or no value, is "auto"):
//   auto      the v4l2loopback "Lumora Capture" device when there is one (programs that only
//             know V4L2 see it), and the PipeWire camera beside it whenever a PipeWire
//             daemon is reachable; the PipeWire camera alone otherwise;
//   loopback  the v4l2loopback device only;
//   pipewire  the PipeWire camera only.
// Plain functions; any thread (the settings store serialises its reads).
#pragma once

#include <optional>
#include <string_view>

namespace lumora {

enum class VcamBackend { kAuto, kLoopback, kPipeWire };

inline constexpr char kVcamSettingsKey[] = "SOFTWARE\\Lumora\\VirtualCamera";

// The backend a "Backend" text names; nothing for an unknown text.
std::optional<VcamBackend> ParseVcamBackend(std::string_view text);

// "auto", "loopback" or "pipewire".
std::string_view VcamBackendName(VcamBackend backend);

// The backend the settings ask for.
VcamBackend VcamBackendFromSettings();

}  // namespace lumora
