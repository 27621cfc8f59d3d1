// The name of Lumora's virtual camera: the card label of the v4l2loopback device that
// lumora-vcam sets up, and so the friendly name it is listed by among the capture devices.
#pragma once

namespace lumora {

inline constexpr char kVirtualCameraName[] = "Lumora Capture";

}  // namespace lumora
