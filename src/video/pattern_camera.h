// The camera behind a "pattern:<name>" extra device: videotestsrc (live, showing the named
// pattern) behind a capsfilter that offers what a small real camera offers, so that the
// consumer negotiates size, pixel format and frame rate with it as with a real device:
// 640x480 (the default), 1280x720 and 320x240, each in YUY2 and I420, at 30 and 15 frames
// per second.
//
// The camera is a GstBin with one "src" ghost pad. Needs gst_init(). Any thread.
#pragma once

#include <gst/gst.h>

#include <string>

namespace lumora {

// A new camera showing `pattern` (a videotestsrc pattern nick such as "smpte" or "ball",
// or its number). Returns a floating reference the caller owns (adding it to a bin takes
// it over; otherwise gst_object_ref_sink and gst_object_unref it), or null when the
// pattern is unknown or videotestsrc is missing.
GstElement* CreatePatternCamera(const std::string& pattern);

// The same bin offering only `formats` (which it copies): the headless front end's pattern
// source, live or, for batch runs, as fast as the consumer takes it.
GstElement* CreatePatternSource(const std::string& pattern, const GstCaps* formats, bool live);

// Every format the camera offers, in its order of preference. The caller unrefs.
GstCaps* PatternCameraCaps();

}  // namespace lumora
