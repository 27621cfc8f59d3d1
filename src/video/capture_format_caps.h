// Translation between GStreamer caps and CaptureFormat, both ways.
//
//   caps                          bit count  compression   subtype
//   video/x-raw format=YUY2       16         'YUY2'        {32595559-0000-0010-8000-00AA00389B71}
//   video/x-raw format=UYVY       16         'UYVY'        FOURCC subtype
//   video/x-raw format=I420       12         'I420'        FOURCC subtype
//   video/x-raw format=YV12       12         'YV12'        FOURCC subtype
//   video/x-raw format=NV12       12         'NV12'        FOURCC subtype
//   video/x-raw format=BGR        24         0             RGB24 {E436EB7D-524F-11CE-9F53-0020AF0BA770}
//   video/x-raw format=BGRx       32         0             RGB32 {E436EB7E-524F-11CE-9F53-0020AF0BA770}
//   image/jpeg                    24         'MJPG'        FOURCC subtype
//
// GStreamer's BGR is the byte order of a 24-bit DIB, which is what RGB24 means; its "RGB"
// (red byte first) has no such subtype and cannot be expressed. Planes are always 1, the
// height is positive, and the image size is that of a DIB of that bit count: rows rounded
// up to 4 bytes, times the height (for I420/YV12/NV12 with an even width exactly the
// three planes; for MJPG the decoded 24-bit picture, an upper bound of a frame).
// Frame time = 10,000,000 x denominator / numerator (integer division); a variable frame
// rate (0/1) gives 0.
//
// Pure functions; any thread. Needs gst_init() for the caps functions.
#pragma once

#include "platform/hresult.h"
#include "video/capture_format.h"

#include <gst/gst.h>

#include <cstdint>

namespace lumora {

constexpr std::uint32_t MakeFourcc(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24;
}

// {FOURCC-0000-0010-8000-00AA00389B71}
constexpr Guid SubtypeFromFourcc(std::uint32_t fourcc) {
    return Guid{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

inline constexpr Guid kSubtypeRgb24{
    0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr Guid kSubtypeRgb32{
    0xE436EB7E, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

struct Framerate {
    int numerator = 0;
    int denominator = 1;
};

// 100 ns units per frame at that rate; 0 for a variable or invalid rate.
std::int64_t FrameTimeFromFramerate(Framerate rate);

// The exact rate of a frame time (10,000,000 / frameTime, reduced); 0/1 when the frame
// time is not positive.
Framerate FramerateFromFrameTime(std::int64_t frameTime);

// Fills header, frame time and subtype of `format` from the first structure of fixed
// `caps`; the applied flag is not touched. S_OK when filled; S_FALSE, leaving `format`
// alone, when the caps are not video; E_NOINTERFACE, also leaving it alone, for video the
// format cannot express (another pixel format, no valid size).
HRESULT CaptureFormatFromCaps(const GstCaps* caps, CaptureFormat& format);

// Fixed caps asking for the format's subtype, width, |height| and `rate`. New caps the
// caller unrefs, or null when the subtype is not in the table above, a size is below 1
// or the rate is not positive.
GstCaps* CapsFromCaptureFormat(const CaptureFormat& format, Framerate rate);

}  // namespace lumora
