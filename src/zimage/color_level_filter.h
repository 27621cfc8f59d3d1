// ColorLevelFilter: scales the blue, green and red channels of frame pixels by their own
// levels: value * level / 128, saturating at 255 (128 keeps a channel, 256 doubles it, 0
// blacks it out; negative levels count as 0). A small immutable value built per call;
// Apply may run on several threads at once on different pixels.
#pragma once

#include "frame_view.h"
#include "pixel_rect.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace lumora::zimage {

class ColorLevelFilter {
public:
    ColorLevelFilter(std::int32_t red, std::int32_t green, std::int32_t blue) noexcept;

    // True when every level is 128, so applying the filter changes nothing.
    bool IsIdentity() const noexcept;

    // Applies the levels to `rect` clipped to the frame, in place.
    void Apply(const FrameView& frame, const PixelRect& rect) const noexcept;

    // The value a channel byte becomes at `level` (already clamped to 0..65535).
    static constexpr std::uint8_t Scale(std::uint8_t value, std::uint32_t level) noexcept {
        const std::uint32_t scaled = (value * level) >> 7;
        return static_cast<std::uint8_t>(scaled > 255 ? 255 : scaled);
    }

private:
    // Applies the levels to `pixels` whole pixels starting at `row` (blue byte first).
    void ApplyRun(std::uint8_t* row, std::size_t pixels) const noexcept;
    // The vector part of ApplyRun: whole groups of 16 pixels; answers how many it did.
    std::size_t ApplyRunVector(std::uint8_t* row, std::size_t pixels) const noexcept;

    // Levels in frame byte order (blue, green, red), clamped to 0..65535: any level above
    // that saturates every non-zero value anyway, and the products stay in 32 bits.
    std::array<std::uint16_t, 3> levels_;
    // Per-channel lookup table for the bytes the vector loop leaves over.
    std::array<std::array<std::uint8_t, 256>, 3> table_;
};

}  // namespace lumora::zimage
