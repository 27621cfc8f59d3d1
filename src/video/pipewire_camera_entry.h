// The PipeWire camera among the capture devices: an entry named "Lumora Capture" whose
// device path is "pipewire:lumora-capture", so start-up finds it by name and the virtual
// camera link opens it by path like the loopback device.
//
// With the backend (vcam_backend.h) "auto" the entry is added when no loopback "Lumora
// Capture" is listed and a PipeWire daemon answers; with "pipewire" the loopback entries
// of that name are taken out and the entry added when a daemon answers; with "loopback"
// the list stays as it is.
// Plain functions; any thread.
#pragma once

#include "vcam/vcam_backend.h"
#include "video/capture_device_info.h"

#include <functional>
#include <string_view>
#include <vector>

namespace lumora {

inline constexpr std::string_view kPipeWireDevicePath = "pipewire:lumora-capture";

// `daemonReachable` is asked only when the answer matters.
void AddPipeWireCameraEntry(std::vector<CaptureDeviceInfo>& devices, VcamBackend backend,
                            const std::function<bool()>& daemonReachable);

}  // namespace lumora
