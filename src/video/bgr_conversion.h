// BgrConversion: decoded video of the common raw formats to 24-bit BGR in one pass, with
// libyuv, the way the "Grabber" takes its frames without a videoconvert in front of it.
//
//   planar YUV   I420, YV12 (4:2:0), Y42B (4:2:2), Y444
//   semi-planar  NV12, NV21
//   RGB          BGRx, BGRA, RGB, BGR
//
// YUV is read in the frame's colour matrix (BT.601, BT.709, BT.2020; anything else as
// BT.601) and range (limited or full), with the chroma of each pixel taken from its own
// sample (no interpolation). Other formats are left to GStreamer's videoconvert.
//
// Pure functions over mapped frames and caller-owned memory; any thread.
#pragma once

#include <gst/video/video.h>

#include <cstddef>

namespace lumora {

// The formats ConvertToBgr takes, as a caps format list.
#define LUMORA_BGR_CONVERTIBLE_FORMATS "{ I420, YV12, Y42B, Y444, NV12, NV21, BGRx, BGRA, RGB, BGR }"

bool IsBgrConvertible(GstVideoFormat format);

// Writes `frame` as BGR rows `targetStride` bytes apart into `target`, bottom row first
// when `bottomUp` (the VideoFrame layout) and top row first otherwise. False, with
// nothing written, for a format IsBgrConvertible refuses.
bool ConvertToBgr(const GstVideoFrame& frame, unsigned char* target, std::size_t targetStride, bool bottomUp);

}  // namespace lumora
