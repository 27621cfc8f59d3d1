// RectPainter: solid rectangles and rectangle outlines on a frame, clipped to it. Stateless;
// the frame is borrowed for the call and written only inside the clipped rectangle.
#pragma once

#include "bgr_colour.h"
#include "frame_view.h"
#include "pixel_rect.h"

namespace lumora::zimage {

class RectPainter {
public:
    // Fills `rect` clipped to the frame. An empty intersection writes nothing.
    static void Fill(const FrameView& frame, const PixelRect& rect, BgrColour colour) noexcept;

    // Draws the one-pixel border of `rect` (its first and last column and row), each edge
    // clipped on its own, so edges outside the frame disappear and the rest is drawn.
    static void Outline(const FrameView& frame, const PixelRect& rect, BgrColour colour) noexcept;

private:
    // Writes `pixels` copies of the colour starting at `out`.
    static void FillRun(std::uint8_t* out, std::size_t pixels, BgrColour colour) noexcept;
};

}  // namespace lumora::zimage
