// Telling a device we can feed frames to from anything else. The virtual camera link uses
// IsV4l2OutputDevice to choose between the adapter (a V4L2 output device) and writing the
// packet bytes as they are (a file or a FIFO).
//
// A v4l2loopback device counts in both of its phases: with exclusive_caps it announces
// only VIDEO_CAPTURE once a producer has started, yet it still takes output.
// Plain functions; thread-safe.
#pragma once

#include "vcam/loopback_device_io.h"

#include <string>

namespace lumora {

// The capabilities of the opened device node (device_caps when the driver fills them).
std::uint32_t NodeCapabilities(const v4l2_capability& capability);

bool IsLoopbackDriver(const v4l2_capability& capability);

// VIDEO_OUTPUT announced, or a v4l2loopback device.
bool TakesVideoOutput(const v4l2_capability& capability);

// True for a character device whose V4L2 capabilities pass TakesVideoOutput. Opens the
// node briefly (non-blocking); anything else (missing path, regular file, FIFO) is false
// without opening it.
bool IsV4l2OutputDevice(const std::string& path);

}  // namespace lumora
