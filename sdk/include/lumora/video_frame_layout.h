// The pixel layout every frame in Lumora uses (the "VideoFrame" layout): 24 bits per pixel
// in blue-green-red byte order, rows padded to a multiple of four bytes, the BOTTOM row
// first in memory. x counts from the left column and y from the bottom row, so row y
// starts y * stride bytes into the buffer and a rectangle's top is its larger y.
//
// VideoFrameLayout is a plain value: it owns nothing and is safe to copy between threads.
// It only describes sizes; it never touches pixels. Standard headers only (plug-ins
// include it).
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora {

class VideoFrameLayout {
public:
    static constexpr std::int32_t kBitCount = 24;
    static constexpr std::int32_t kBytesPerPixel = 3;
    // Larger frames are refused, so every byte count also fits a signed 32-bit size.
    static constexpr std::uint32_t kMaxImageBytes = 0x7FFFFFFFu;

    // Bytes in one row of `width` pixels at `bitCount` bits, rounded up to a multiple of
    // four. 0 when width is not positive, bitCount is not one of 1, 2, 4, 8, 16, 24, 32,
    // or the count is above kMaxImageBytes.
    static constexpr std::uint32_t RowBytes(std::int64_t width, std::int64_t bitCount) noexcept {
        if (width <= 0 || width > kMaxImageBytes || !IsSupportedBitCount(bitCount)) return 0;
        const std::int64_t bytes = (width * bitCount + 31) / 32 * 4;  // < 2^37: no overflow
        return bytes > kMaxImageBytes ? 0 : static_cast<std::uint32_t>(bytes);
    }

    // Row bytes times height; 0 for a non-positive size or a total above kMaxImageBytes.
    static constexpr std::uint32_t ImageBytes(std::int64_t width, std::int64_t height,
                                              std::int64_t bitCount) noexcept {
        const std::uint32_t row = RowBytes(width, bitCount);
        if (row == 0 || height <= 0 || height > kMaxImageBytes) return 0;
        const std::int64_t total = static_cast<std::int64_t>(row) * height;
        return total > kMaxImageBytes ? 0 : static_cast<std::uint32_t>(total);
    }

    static constexpr bool IsSupportedBitCount(std::int64_t bitCount) noexcept {
        return bitCount == 1 || bitCount == 2 || bitCount == 4 || bitCount == 8 ||
               bitCount == 16 || bitCount == 24 || bitCount == 32;
    }

    // The layout of a 24-bit width x height frame. A size whose byte count is 0 (see
    // ImageBytes) gives the empty layout, whose valid() is false.
    static constexpr VideoFrameLayout Of(std::int64_t width, std::int64_t height) noexcept {
        const std::uint32_t bytes = ImageBytes(width, height, kBitCount);
        if (bytes == 0) return {};
        return VideoFrameLayout(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                                RowBytes(width, kBitCount));
    }

    constexpr VideoFrameLayout() noexcept = default;

    constexpr bool valid() const noexcept { return stride_ != 0; }
    constexpr std::int32_t width() const noexcept { return width_; }
    constexpr std::int32_t height() const noexcept { return height_; }
    constexpr std::uint32_t stride() const noexcept { return stride_; }
    constexpr std::size_t size_bytes() const noexcept {
        return static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
    }
    // Byte offset of pixel (x, y), y counted from the bottom row. No range check.
    constexpr std::size_t PixelOffset(std::int32_t x, std::int32_t y) const noexcept {
        return static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x) * kBytesPerPixel;
    }

    friend constexpr bool operator==(const VideoFrameLayout&, const VideoFrameLayout&) = default;

private:
    constexpr VideoFrameLayout(std::int32_t width, std::int32_t height, std::uint32_t stride) noexcept
        : width_(width), height_(height), stride_(stride) {}

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::uint32_t stride_ = 0;
};

}  // namespace lumora
