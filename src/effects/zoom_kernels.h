// ZoomKernels: the pixel loops of the zoom at any factor other than exactly 2 (which uses
// zimage's DoublingKernels, as the image library's 2x scaler does), with a vector version
// chosen at run time for the processor (SSSE3) and plain ones for the rest. Stateless; any
// thread.
//
// Rounding follows the scaler the zoom must match: 11-bit weights and the rounding of
// OpenCV's bilinear kernel.
#pragma once

#include "zimage/doubling_kernels.h"

#include <cstddef>
#include <cstdint>

namespace lumora {

class ZoomKernels {
public:
    // Bytes that the vector loops, and those of the doubling kernels, may read or write
    // past the end of their rows.
    static constexpr std::size_t kSlack = zimage::DoublingKernels::kSlack;

    // Scales one row across with 11-bit weights: output pixel i, channel c, is
    // (row[offsets[i] + c] * w0 + row[offsets[i] + 3 + c] * w1) >> 4, where weights[i] holds
    // w0 in its low and w1 in its high 16 bits. `row` needs 8 readable bytes from every
    // offset; `out` (3 * pixels values) needs one more value of room after its end.
    static void WidenWeighted(const std::uint8_t* row, const std::int32_t* offsets, const std::uint32_t* weights,
                              std::int32_t pixels, std::int16_t* out) noexcept;

    // out[k] = ((((a[k] * wa) >> 16) + ((b[k] * wb) >> 16) + 2) >> 2, at most 255, for rows
    // of 16-bit values (source * 2048-based weights >> 4); writes no further.
    static void BlendWeighted(const std::int16_t* a, const std::int16_t* b, std::int16_t wa, std::int16_t wb,
                              std::uint8_t* out, std::size_t bytes) noexcept;
};

}  // namespace lumora
