// Extra capture devices declared in the environment, listed after the system's: pattern
// cameras and packet-taking virtual cameras, so that the same enumeration, menu, open and
// pipeline code runs on machines without a camera (tests, demonstrations).
//
// LUMORA_TEST_DEVICES holds entries separated by ';', each "Name=Path":
//   "Cam=pattern:smpte"        a camera on videotestsrc showing that pattern
//   "Lumora Capture=packets:/tmp/vcam"   a virtual camera taking packets at that path
//   "Broken="                  a device without a path
// The text before the first '=' is the friendly name (absent when empty), the rest the
// device path (absent when empty or when there is no '='). Empty entries are ignored.
// Any other path is treated as a device node, as for a real camera.
//
// Pure functions; any thread.
#pragma once

#include "video/capture_device_info.h"

#include <string_view>
#include <vector>

namespace lumora {

inline constexpr char kExtraDevicesVariable[] = "LUMORA_TEST_DEVICES";
inline constexpr std::string_view kPatternDevicePrefix = "pattern:";
inline constexpr std::string_view kPacketsDevicePrefix = "packets:";

// The entries of a LUMORA_TEST_DEVICES text, in order.
std::vector<CaptureDeviceInfo> ParseExtraDevices(std::string_view text);

// The entries of the LUMORA_TEST_DEVICES variable as it is now (none when unset).
std::vector<CaptureDeviceInfo> ExtraDevicesFromEnvironment();

}  // namespace lumora
