// Turns a device path into a new capture source element:
// - "pattern:<name>": the pattern camera (see pattern_camera.h);
// - "packets:<path>": none — that device takes packets, it gives no video;
// - anything else: a V4L2 node (or a /dev/v4l/by-id link to one), opened as
//   "v4l2src device=<path>"; none when the path no longer exists, i.e. the device has
//   been unplugged since it was listed.
//
// Every call makes a fresh element. Needs gst_init(). Any thread.
#pragma once

#include <gst/gst.h>

#include <string>

namespace lumora {

// A new element with a floating reference that the caller owns (adding it to a bin or
// pipeline takes it over; otherwise gst_object_ref_sink, then gst_object_unref), or null.
GstElement* OpenCaptureDevice(const std::string& devicePath);

}  // namespace lumora
