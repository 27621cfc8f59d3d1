// FrameView: a borrowed VideoFrame, the pixel pointer together with its layout. The view
// owns nothing; the caller keeps the pixels alive and unshared for as long as an
// operation uses the view. Row y (0 = bottom row) starts y * stride bytes in, so
// coordinates map to memory without any turning over.
#pragma once

#include <lumora/video_frame_layout.h>

#include <opencv2/core/mat.hpp>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>

namespace lumora::zimage {

template <typename Byte>
class BasicFrameView {
    static_assert(std::is_same_v<std::remove_const_t<Byte>, std::uint8_t>);

public:
    // A view of width x height pixels at `pixels`, or nothing for a null pointer or a size
    // the layout refuses.
    static std::optional<BasicFrameView> Wrap(Byte* pixels, std::int64_t width, std::int64_t height) noexcept {
        const VideoFrameLayout layout = VideoFrameLayout::Of(width, height);
        if (pixels == nullptr || !layout.valid()) return std::nullopt;
        return BasicFrameView(pixels, layout);
    }

    const VideoFrameLayout& layout() const noexcept { return layout_; }
    std::int32_t width() const noexcept { return layout_.width(); }
    std::int32_t height() const noexcept { return layout_.height(); }
    std::size_t stride() const noexcept { return layout_.stride(); }
    Byte* data() const noexcept { return pixels_; }
    std::size_t size_bytes() const noexcept { return layout_.size_bytes(); }
    Byte* pixel(std::int32_t x, std::int32_t y) const noexcept { return pixels_ + layout_.PixelOffset(x, y); }

    // True when the byte ranges of the two frames share any byte.
    template <typename Other>
    bool Overlaps(const BasicFrameView<Other>& other) const noexcept {
        const auto a = reinterpret_cast<std::uintptr_t>(pixels_);
        const auto b = reinterpret_cast<std::uintptr_t>(other.data());
        return a < b + other.size_bytes() && b < a + size_bytes();
    }

    // An OpenCV header over the same bytes (CV_8UC3, row 0 = bottom row). No copy. A view
    // of const pixels gives a Mat that must only be read.
    cv::Mat AsMat() const {
        return cv::Mat(height(), width(), CV_8UC3, const_cast<std::uint8_t*>(pixels_), stride());
    }

private:
    BasicFrameView(Byte* pixels, const VideoFrameLayout& layout) noexcept : pixels_(pixels), layout_(layout) {}

    Byte* pixels_;
    VideoFrameLayout layout_;
};

using FrameView = BasicFrameView<std::uint8_t>;
using ConstFrameView = BasicFrameView<const std::uint8_t>;

}  // namespace lumora::zimage
