#include "rect_painter.h"

#include <algorithm>
#include <cstring>

namespace lumora::zimage {

namespace {

constexpr std::size_t kNarrow = 4;

}  // namespace

void RectPainter::FillRun(std::uint8_t* out, std::size_t pixels, BgrColour colour) noexcept {
    const std::size_t bytes = pixels * 3;
    if (bytes == 0) return;
    out[0] = colour.blue;
    out[1] = colour.green;
    out[2] = colour.red;
    // Double the written part until the run is complete: few large copies instead of a
    // byte loop.
    std::size_t done = 3;
    while (done < bytes) {
        const std::size_t chunk = std::min(done, bytes - done);
        std::memcpy(out + done, out, chunk);
        done += chunk;
    }
}

void RectPainter::Fill(const FrameView& frame, const PixelRect& rect, BgrColour colour) noexcept {
    const PixelRect clipped = rect.Intersect(PixelRect::OfFrame(frame.width(), frame.height()));
    if (clipped.empty()) return;
    const auto x = static_cast<std::int32_t>(clipped.x0);
    const auto y0 = static_cast<std::int32_t>(clipped.y0);
    const auto y1 = static_cast<std::int32_t>(clipped.y1);
    const auto pixels = static_cast<std::size_t>(clipped.width());

    if (pixels <= kNarrow) {
        // Columns such as an outline's sides: a few stores a row beat a copy call.
        for (std::int32_t y = y0; y < y1; ++y) {
            std::uint8_t* p = frame.pixel(x, y);
            for (std::size_t i = 0; i < pixels; ++i, p += 3) {
                p[0] = colour.blue;
                p[1] = colour.green;
                p[2] = colour.red;
            }
        }
        return;
    }
    std::uint8_t* first = frame.pixel(x, y0);
    FillRun(first, pixels, colour);
    for (std::int32_t y = y0 + 1; y < y1; ++y) std::memcpy(frame.pixel(x, y), first, pixels * 3);
}

void RectPainter::Outline(const FrameView& frame, const PixelRect& rect, BgrColour colour) noexcept {
    if (rect.empty()) return;
    Fill(frame, {rect.x0, rect.y0, rect.x1, rect.y0 + 1}, colour);          // bottom row
    Fill(frame, {rect.x0, rect.y1 - 1, rect.x1, rect.y1}, colour);          // top row
    Fill(frame, {rect.x0, rect.y0, rect.x0 + 1, rect.y1}, colour);          // left column
    Fill(frame, {rect.x1 - 1, rect.y0, rect.x1, rect.y1}, colour);          // right column
}

}  // namespace lumora::zimage
