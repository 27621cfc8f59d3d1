// DoublingKernels: the two row passes of an exact 2x bilinear enlargement of 24-bit pixels,
// shared by the image library's 2x scaler and the zoom effect. With pixel centres
// aligned, every output pixel weighs its nearest source pixel 3/4 and the next one 1/4 in
// each direction, so the enlargement is a widening of each source row followed by a blend
// of two widened rows, both rounding (3 * near + far + 2) >> 2.
//
// Vector versions are chosen at run time for the processor (AVX2, SSSE3), plain loops
// serve the rest; all give the same bytes. Stateless; any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora::zimage {

class DoublingKernels {
public:
    // Bytes that the vector loops may read or write past the end of their rows.
    static constexpr std::size_t kSlack = 128;

    // 2x across: `padded` holds `pixels` source pixels with one more pixel before and one
    // after them; `out` receives 2 * pixels pixels, output pixel 2p weighing source p by
    // 3/4 and p - 1 by 1/4, pixel 2p + 1 weighing p and p + 1. Both buffers need kSlack
    // bytes of room after their ends.
    static void WidenDouble(const std::uint8_t* padded, std::int32_t pixels, std::uint8_t* out) noexcept;

    // out[k] = (3 * near[k] + far[k] + 2) >> 2 for `bytes` bytes; writes no further.
    static void BlendQuarter(const std::uint8_t* near, const std::uint8_t* far, std::uint8_t* out,
                             std::size_t bytes) noexcept;
};

}  // namespace lumora::zimage
