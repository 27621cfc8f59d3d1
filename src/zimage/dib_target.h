// DibTarget: a caller's pixel buffer described by a Windows bitmap-info header, the target
// of a screen copy. Uncompressed 16-bit (5-5-5), 24-bit and 32-bit pixels; a positive
// height means the bottom row comes first, a negative one the top row. Borrows the buffer
// and the header for the duration of one copy.
#pragma once

#include <lumora/zimage.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace lumora::zimage {

class DibTarget {
public:
    // The target for an output of width x height pixels, or nothing when the header does
    // not describe such an uncompressed picture in a supported bit count, the pointers are
    // null, or the header's image size is too small for the picture.
    static std::optional<DibTarget> Describe(std::int32_t width, std::int32_t height, void* pixels,
                                             const ZImageBitmapInfoHeader* header) noexcept;

    std::int32_t width() const noexcept { return width_; }
    std::int32_t height() const noexcept { return height_; }

    // Writes one picture row, counted from the top, from `bgrx` (width pixels of four
    // bytes: blue, green, red, unused).
    void WriteRow(std::int32_t row_from_top, const std::uint8_t* bgrx) const noexcept;

private:
    DibTarget(std::uint8_t* pixels, std::int32_t width, std::int32_t height, std::uint32_t stride,
              std::int32_t bit_count, bool bottom_up) noexcept;

    std::uint8_t* pixels_;
    std::int32_t width_;
    std::int32_t height_;
    std::uint32_t stride_;
    std::int32_t bit_count_;
    bool bottom_up_;
};

}  // namespace lumora::zimage
