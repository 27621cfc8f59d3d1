#include "frame_compositor.h"

#include "pixel_rect.h"

#include <cstring>

namespace lumora::zimage {

bool FrameCompositor::Compose(const ConstFrameView& source, const FrameView& target, std::int32_t x,
                              std::int32_t y) noexcept {
    const bool overlap = target.Overlaps(source);
    if (overlap && source.stride() != target.stride()) return false;

    const PixelRect placed = PixelRect::OfFrame(source.width(), source.height()).Translated(x, y);
    const PixelRect area = placed.Intersect(PixelRect::OfFrame(target.width(), target.height()));
    if (area.empty()) return true;

    const auto bytes = static_cast<std::size_t>(area.width()) * 3;
    const auto tx = static_cast<std::int32_t>(area.x0);
    const auto sx = static_cast<std::int32_t>(area.x0 - x);
    const auto y0 = static_cast<std::int32_t>(area.y0);
    const auto y1 = static_cast<std::int32_t>(area.y1);
    const auto row_shift = static_cast<std::int32_t>(y);

    // With equal strides, a target row can only overlap source rows at or after its own
    // address when the target lies below the source in memory, so walk upwards then, and
    // downwards otherwise. memmove handles the overlap within a row.
    const bool upwards = target.pixel(tx, y0) <= source.pixel(sx, y0 - row_shift);
    for (std::int32_t i = 0; i < y1 - y0; ++i) {
        const std::int32_t ty = upwards ? y0 + i : y1 - 1 - i;
        const std::uint8_t* from = source.pixel(sx, ty - row_shift);
        std::uint8_t* to = target.pixel(tx, ty);
        if (overlap) {
            std::memmove(to, from, bytes);
        } else {
            std::memcpy(to, from, bytes);
        }
    }
    return true;
}

}  // namespace lumora::zimage
