#include "vcam/device_frame_format.h"

#include <cstring>

namespace lumora {

bool DeviceFrameFormat::IsValid() const {
    if (width < 2 || height < 1 || width % 2 != 0) return false;
    if (pixelFormat == VcamPixelFormat::kI420 && height % 2 != 0) return false;
    return width <= 16384 && height <= 16384;
}

std::uint32_t DeviceFrameFormat::Fourcc() const {
    return pixelFormat == VcamPixelFormat::kYuyv ? V4L2_PIX_FMT_YUYV : V4L2_PIX_FMT_YUV420;
}

std::size_t DeviceFrameFormat::BytesPerLine() const {
    const auto w = static_cast<std::size_t>(width);
    return pixelFormat == VcamPixelFormat::kYuyv ? w * 2 : w;
}

std::size_t DeviceFrameFormat::FrameBytes() const {
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    return pixelFormat == VcamPixelFormat::kYuyv ? w * h * 2 : w * h * 3 / 2;
}

std::optional<VcamPixelFormat> PixelFormatFromFourcc(std::uint32_t fourcc) {
    if (fourcc == V4L2_PIX_FMT_YUYV) return VcamPixelFormat::kYuyv;
    if (fourcc == V4L2_PIX_FMT_YUV420) return VcamPixelFormat::kI420;
    return std::nullopt;
}

std::string FourccText(std::uint32_t fourcc) {
    std::string text(4, '?');
    for (int i = 0; i < 4; ++i) {
        const char c = static_cast<char>((fourcc >> (8 * i)) & 0xFF);
        if (c >= 0x20 && c < 0x7F) text[static_cast<std::size_t>(i)] = c;
    }
    return text;
}

std::string DescribeFormat(const v4l2_pix_format& pix) {
    return std::to_string(pix.width) + "x" + std::to_string(pix.height) + " " +
           FourccText(pix.pixelformat);
}

v4l2_format MakeOutputFormat(const DeviceFrameFormat& format) {
    v4l2_format request;
    std::memset(&request, 0, sizeof request);
    request.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
    v4l2_pix_format& pix = request.fmt.pix;
    pix.width = static_cast<std::uint32_t>(format.width);
    pix.height = static_cast<std::uint32_t>(format.height);
    pix.pixelformat = format.Fourcc();
    pix.field = V4L2_FIELD_NONE;
    pix.bytesperline = static_cast<std::uint32_t>(format.BytesPerLine());
    pix.sizeimage = static_cast<std::uint32_t>(format.FrameBytes());
    pix.colorspace = V4L2_COLORSPACE_SMPTE170M;
    pix.ycbcr_enc = V4L2_YCBCR_ENC_601;
    pix.quantization = V4L2_QUANTIZATION_LIM_RANGE;
    pix.xfer_func = V4L2_XFER_FUNC_709;
    return request;
}

std::optional<DeviceFrameFormat> ProducibleFormat(const v4l2_pix_format& pix) {
    const auto layout = PixelFormatFromFourcc(pix.pixelformat);
    if (!layout) return std::nullopt;
    DeviceFrameFormat format{static_cast<int>(pix.width), static_cast<int>(pix.height), *layout};
    if (!format.IsValid()) return std::nullopt;
    // A device that pads its rows would need another packing than ours.
    if (pix.bytesperline != 0 && pix.bytesperline != format.BytesPerLine()) return std::nullopt;
    return format;
}

}  // namespace lumora
