// AlphaMask: a small picture of coverage values, 0 (transparent) to 255 (opaque), with
// its rows bottom first like a frame. Shapes are sampled into it when a frame size needs
// a new one, and it is laid over frames in one colour, so drawing a frame allocates
// nothing.
//
// Not synchronised: its owner builds it and draws it under one lock. A value type.
#pragma once

#include "common/frame_view.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace lumora::plugins {

class AlphaMask {
public:
    // Coverage (0 to 1) of a shape at (u, v); u runs -1 to 1 from the left edge of the
    // mask to its right, v -1 to 1 from the bottom to the top.
    using Shape = std::function<double(double u, double v)>;

    // width x height transparent values (0 x 0 when either is not positive). Allocates
    // only when the mask grows beyond anything it held before.
    void Resize(std::int32_t width, std::int32_t height);
    // Sets every value from the shape, averaged over 4 x 4 samples inside each pixel.
    void Draw(const Shape& shape);
    // Becomes `source` scaled to width x height, each value the mean of the source
    // values it covers (the nearest one when enlarging).
    void ResampleFrom(const AlphaMask& source, std::int32_t width, std::int32_t height);

    // Lays the mask over the frame in `colour`, its lower-left corner at (x, y), clipped
    // to the frame; `opacity` (0 to 255) scales every value.
    void Blend(const FrameView& frame, std::int32_t x, std::int32_t y, Bgr colour, std::int32_t opacity) const;

    std::int32_t width() const noexcept { return width_; }
    std::int32_t height() const noexcept { return height_; }
    bool empty() const noexcept { return width_ == 0; }
    std::uint8_t* Row(std::int32_t y) noexcept { return values_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint8_t* Row(std::int32_t y) const noexcept {
        return values_.data() + static_cast<std::size_t>(y) * width_;
    }

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<std::uint8_t> values_;
};

}  // namespace lumora::plugins
