// FrameCompositor: copies one frame into another at an offset, clipped on every side.
// Stateless; the frames are borrowed for the call. The source may be the destination
// frame itself (rows are moved in an order that never reads an overwritten row).
#pragma once

#include "frame_view.h"

#include <cstdint>

namespace lumora::zimage {

class FrameCompositor {
public:
    // Places `source` with its lower-left corner at (x, y) of `target`. Negative offsets
    // take a window out of a larger source. Answers false only when the two buffers
    // overlap without having the same row stride (no safe copy order exists then).
    static bool Compose(const ConstFrameView& source, const FrameView& target, std::int32_t x,
                        std::int32_t y) noexcept;
};

}  // namespace lumora::zimage
