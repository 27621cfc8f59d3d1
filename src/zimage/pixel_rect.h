// PixelRect: a half-open rectangle of frame pixels, [x0, x1) x [y0, y1), y counted from the
// bottom row. Coordinates are 64-bit so that sums of any 32-bit arguments (x + width with
// both near INT32_MAX) cannot overflow. A plain value.
#pragma once

#include <algorithm>
#include <cstdint>

namespace lumora::zimage {

struct PixelRect {
    std::int64_t x0 = 0;
    std::int64_t y0 = 0;
    std::int64_t x1 = 0;
    std::int64_t y1 = 0;

    static constexpr PixelRect FromCornerSize(std::int64_t x, std::int64_t y, std::int64_t width,
                                              std::int64_t height) noexcept {
        return {x, y, x + width, y + height};
    }
    static constexpr PixelRect OfFrame(std::int32_t width, std::int32_t height) noexcept {
        return {0, 0, width, height};
    }

    constexpr bool empty() const noexcept { return x1 <= x0 || y1 <= y0; }
    constexpr std::int64_t width() const noexcept { return x1 - x0; }
    constexpr std::int64_t height() const noexcept { return y1 - y0; }

    constexpr PixelRect Intersect(const PixelRect& other) const noexcept {
        return {std::max(x0, other.x0), std::max(y0, other.y0), std::min(x1, other.x1), std::min(y1, other.y1)};
    }
    constexpr PixelRect Translated(std::int64_t dx, std::int64_t dy) const noexcept {
        return {x0 + dx, y0 + dy, x1 + dx, y1 + dy};
    }
};

}  // namespace lumora::zimage
