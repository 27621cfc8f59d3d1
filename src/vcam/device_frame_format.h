// DeviceFrameFormat: the picture format the virtual camera device is fed with: a size
// and one of the two YUV layouts chat programs and browsers all take, both BT.601
// limited range:
//   YUYV  packed 4:2:2, Y0 U Y1 V for every two pixels, 2 bytes a pixel;
//   I420  planar 4:2:0, the Y plane, then U and V at half width and half height.
// Plain value type; free to copy between threads.
#pragma once

#include <linux/videodev2.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

enum class VcamPixelFormat { kYuyv, kI420 };

struct DeviceFrameFormat {
    int width = 1280;
    int height = 720;
    VcamPixelFormat pixelFormat = VcamPixelFormat::kYuyv;

    // Both layouts need even widths; I420 also needs even heights.
    bool IsValid() const;
    std::uint32_t Fourcc() const;
    std::size_t BytesPerLine() const;
    // Bytes of one whole frame, tightly packed: what one write() hands the device.
    std::size_t FrameBytes() const;

    friend bool operator==(const DeviceFrameFormat&, const DeviceFrameFormat&) = default;
};

std::optional<VcamPixelFormat> PixelFormatFromFourcc(std::uint32_t fourcc);

// "YUYV", "BGR4", ...; unprintable bytes show as '?'.
std::string FourccText(std::uint32_t fourcc);

// "1280x720 YUYV"
std::string DescribeFormat(const v4l2_pix_format& pix);

// An S_FMT request for the output queue: the size and fourcc, no padding, progressive,
// and the BT.601 limited-range colour fields.
v4l2_format MakeOutputFormat(const DeviceFrameFormat& format);

// The format a device answered, when it is one we can produce with tightly packed rows.
std::optional<DeviceFrameFormat> ProducibleFormat(const v4l2_pix_format& pix);

}  // namespace lumora
