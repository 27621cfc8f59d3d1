// FrameView: one frame handed to ProcessFrame, with its row layout worked out once.
// Frames are 24-bit blue-green-red, rows padded to four bytes, bottom row first, so row y
// counts from the bottom and a rectangle's top is its larger y. Only width * 3 bytes of a
// row are pixels; the padding after them is never written.
//
// A plain view: it owns nothing and lives no longer than the ProcessFrame call it was
// made for.
#pragma once

#include <lumora/video_frame_layout.h>

#include <cstddef>
#include <cstdint>

namespace lumora::plugins {

// A colour as the bytes lie in a frame.
struct Bgr {
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;
};

struct FrameView {
    std::uint8_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t stride = 0;

    // The view of a frame of width x height, or one whose valid() is false when the size
    // has no frame layout or the pixels are missing.
    static FrameView Of(std::uint8_t* pixels, std::int32_t width, std::int32_t height) noexcept {
        const VideoFrameLayout layout = VideoFrameLayout::Of(width, height);
        if (!pixels || !layout.valid()) return {};
        return {pixels, width, height, layout.stride()};
    }

    bool valid() const noexcept { return stride != 0; }
    // First byte of row y (0 = bottom); no range check.
    std::uint8_t* Row(std::int32_t y) const noexcept {
        return pixels + static_cast<std::size_t>(y) * stride;
    }
    // Bytes of pixels in one row, padding excluded.
    std::size_t RowBytes() const noexcept { return static_cast<std::size_t>(width) * 3; }
};

}  // namespace lumora::plugins
