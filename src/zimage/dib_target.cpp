#include "dib_target.h"

#include "row_converter.h"

#include <lumora/video_frame_layout.h>

#include <cstring>

namespace lumora::zimage {

namespace {

constexpr std::uint32_t kUncompressedRgb = 0;

}  // namespace

std::optional<DibTarget> DibTarget::Describe(std::int32_t width, std::int32_t height, void* pixels,
                                             const ZImageBitmapInfoHeader* header) noexcept {
    if (pixels == nullptr || header == nullptr || width <= 0 || height <= 0) return std::nullopt;
    const std::int32_t bits = header->biBitCount;
    if (bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    if (header->biCompression != kUncompressedRgb) return std::nullopt;
    const std::int64_t header_height = header->biHeight;
    if (header->biWidth != width || (header_height != height && -header_height != height)) return std::nullopt;
    const std::uint32_t bytes = VideoFrameLayout::ImageBytes(width, height, bits);
    if (bytes == 0 || (header->biSizeImage != 0 && header->biSizeImage < bytes)) return std::nullopt;
    return DibTarget(static_cast<std::uint8_t*>(pixels), width, height, VideoFrameLayout::RowBytes(width, bits),
                     bits, header_height > 0);
}

DibTarget::DibTarget(std::uint8_t* pixels, std::int32_t width, std::int32_t height, std::uint32_t stride,
                     std::int32_t bit_count, bool bottom_up) noexcept
    : pixels_(pixels), width_(width), height_(height), stride_(stride), bit_count_(bit_count), bottom_up_(bottom_up) {}

void DibTarget::WriteRow(std::int32_t row_from_top, const std::uint8_t* bgrx) const noexcept {
    if (row_from_top < 0 || row_from_top >= height_) return;
    const std::int32_t memory_row = bottom_up_ ? height_ - 1 - row_from_top : row_from_top;
    std::uint8_t* out = pixels_ + static_cast<std::size_t>(memory_row) * stride_;
    const std::uint8_t* in = bgrx;
    switch (bit_count_) {
    case 32:
        for (std::int32_t x = 0; x < width_; ++x, in += 4, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0;
        }
        break;
    case 24:
        RowConverter::BgrxToBgr(in, out, static_cast<std::size_t>(width_));
        break;
    default: {  // 16 bits, 5-5-5, little-endian
        for (std::int32_t x = 0; x < width_; ++x, in += 4, out += 2) {
            const auto value = static_cast<std::uint16_t>(((in[2] >> 3) << 10) | ((in[1] >> 3) << 5) | (in[0] >> 3));
            out[0] = static_cast<std::uint8_t>(value);
            out[1] = static_cast<std::uint8_t>(value >> 8);
        }
        break;
    }
    }
}

}  // namespace lumora::zimage
