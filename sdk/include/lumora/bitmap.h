// lumora::Bitmap: a picture that owns its pixels, stored in the VideoFrame layout (24-bit
// blue-green-red, rows padded to four bytes, bottom row first; see video_frame_layout.h).
// The image loaders hand pictures out as std::unique_ptr<Bitmap>; whoever holds the
// pointer owns the pixels, and they live until the Bitmap is destroyed.
//
// A Bitmap is not synchronised: one thread writes it at a time, any number may read it
// while nobody writes. Header-only, standard headers only (plug-ins include it).
#pragma once

#include <lumora/video_frame_layout.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace lumora {

class Bitmap {
public:
    // A black width x height picture, or null when the size is invalid (see
    // VideoFrameLayout::Of) or memory runs out. Never throws.
    static std::unique_ptr<Bitmap> Create(std::int32_t width, std::int32_t height) noexcept {
        const VideoFrameLayout layout = VideoFrameLayout::Of(width, height);
        if (!layout.valid()) return nullptr;
        try {
            return std::unique_ptr<Bitmap>(new Bitmap(layout));
        } catch (...) {
            return nullptr;
        }
    }

    const VideoFrameLayout& layout() const noexcept { return layout_; }
    std::int32_t width() const noexcept { return layout_.width(); }
    std::int32_t height() const noexcept { return layout_.height(); }
    std::uint32_t stride() const noexcept { return layout_.stride(); }
    static constexpr std::int32_t bit_count() noexcept { return VideoFrameLayout::kBitCount; }

    // The whole pixel array, size_bytes() long, bottom row first.
    std::uint8_t* data() noexcept { return pixels_.data(); }
    const std::uint8_t* data() const noexcept { return pixels_.data(); }
    std::size_t size_bytes() const noexcept { return pixels_.size(); }

    // First byte of row y (0 = bottom row), or null when y is outside the picture.
    std::uint8_t* row(std::int32_t y) noexcept {
        return y >= 0 && y < height() ? data() + layout_.PixelOffset(0, y) : nullptr;
    }
    const std::uint8_t* row(std::int32_t y) const noexcept {
        return y >= 0 && y < height() ? data() + layout_.PixelOffset(0, y) : nullptr;
    }

private:
    explicit Bitmap(const VideoFrameLayout& layout) : layout_(layout), pixels_(layout.size_bytes()) {}

    VideoFrameLayout layout_;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace lumora
