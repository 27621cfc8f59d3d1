// ZoomKernels: the pixel loops of the zoom, with vector versions chosen at run time for
// the processor (SSSE3, AVX2) and plain ones for the rest. Stateless; any thread.
//
// Rounding follows the scalers the zoom must match: the exact 2x passes round
// (3 * near + far + 2) >> 2 like zimage's 2x scaler; the general passes use 11-bit
// weights and the rounding of OpenCV's bilinear kernel.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora {

class ZoomKernels {
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
