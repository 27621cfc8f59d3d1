#include "color_level_filter.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumora::zimage {

namespace {

std::uint16_t ClampLevel(std::int32_t level) noexcept {
    return static_cast<std::uint16_t>(std::clamp<std::int32_t>(level, 0, 0xFFFF));
}

}  // namespace

ColorLevelFilter::ColorLevelFilter(std::int32_t red, std::int32_t green, std::int32_t blue) noexcept
    : levels_{ClampLevel(blue), ClampLevel(green), ClampLevel(red)} {
    for (std::size_t channel = 0; channel < 3; ++channel) {
        for (std::uint32_t value = 0; value < 256; ++value) {
            table_[channel][value] = Scale(static_cast<std::uint8_t>(value), levels_[channel]);
        }
    }
}

bool ColorLevelFilter::IsIdentity() const noexcept {
    return levels_[0] == 128 && levels_[1] == 128 && levels_[2] == 128;
}

void ColorLevelFilter::Apply(const FrameView& frame, const PixelRect& rect) const noexcept {
    const PixelRect clipped = rect.Intersect(PixelRect::OfFrame(frame.width(), frame.height()));
    if (clipped.empty() || IsIdentity()) return;
    const auto x = static_cast<std::int32_t>(clipped.x0);
    const auto pixels = static_cast<std::size_t>(clipped.width());
    if (pixels == static_cast<std::size_t>(frame.width()) && frame.stride() == pixels * 3) {
        // Unpadded whole rows: one long run over the region.
        ApplyRun(frame.pixel(0, static_cast<std::int32_t>(clipped.y0)),
                 pixels * static_cast<std::size_t>(clipped.height()));
        return;
    }
    for (auto y = static_cast<std::int32_t>(clipped.y0); y < clipped.y1; ++y) ApplyRun(frame.pixel(x, y), pixels);
}

void ColorLevelFilter::ApplyRun(std::uint8_t* row, std::size_t pixels) const noexcept {
    const std::size_t done = ApplyRunVector(row, pixels);
    std::uint8_t* p = row + done * 3;
    for (std::size_t i = done; i < pixels; ++i, p += 3) {
        p[0] = table_[0][p[0]];
        p[1] = table_[1][p[1]];
        p[2] = table_[2][p[2]];
    }
}

#if defined(__SSE2__)

// 16 pixels are 48 bytes, three 16-byte vectors; the channel of byte i is i % 3, so the
// level pattern repeats every three vectors. Each half vector is widened to 16-bit lanes.
//
// Levels up to kFastLevelLimit (every level a user can set) take the short road: a byte
// widened into the high half of its lane is value * 256, and the high half of its product
// with 2 * level is exactly value * level / 128, at most 32640, so the signed saturating
// pack clamps it to 255 as wanted. Larger levels need the full 32-bit product: its low half
// shifted right by 7, and 256 or more wherever the high half is non-zero (the product then
// exceeds 255 * 128), which the pack again clamps to 255.
std::size_t ColorLevelFilter::ApplyRunVector(std::uint8_t* row, std::size_t pixels) const noexcept {
    constexpr std::uint16_t kFastLevelLimit = 16384;
    const bool fast = std::all_of(levels_.begin(), levels_.end(), [](std::uint16_t l) { return l <= kFastLevelLimit; });
    alignas(16) std::uint16_t pattern[48];
    for (std::size_t i = 0; i < 48; ++i) pattern[i] = static_cast<std::uint16_t>(levels_[i % 3] * (fast ? 2 : 1));
    __m128i level[6];
    for (std::size_t i = 0; i < 6; ++i) level[i] = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 8 * i));

    const std::size_t groups = pixels / 16;
    const __m128i zero = _mm_setzero_si128();
    if (fast) {
        for (std::size_t g = 0; g < groups; ++g) {
            auto* block = reinterpret_cast<__m128i*>(row + g * 48);
            for (std::size_t v = 0; v < 3; ++v) {
                const __m128i bytes = _mm_loadu_si128(block + v);
                const __m128i low = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, bytes), level[2 * v]);
                const __m128i high = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, bytes), level[2 * v + 1]);
                _mm_storeu_si128(block + v, _mm_packus_epi16(low, high));
            }
        }
        return groups * 16;
    }

    const __m128i overflow_bit = _mm_set1_epi16(0x100);
    const auto scale_half = [&](__m128i values, __m128i levels) {
        const __m128i low = _mm_mullo_epi16(values, levels);
        const __m128i high = _mm_mulhi_epu16(values, levels);
        const __m128i overflow = _mm_andnot_si128(_mm_cmpeq_epi16(high, zero), overflow_bit);
        return _mm_or_si128(_mm_srli_epi16(low, 7), overflow);
    };
    for (std::size_t g = 0; g < groups; ++g) {
        auto* block = reinterpret_cast<__m128i*>(row + g * 48);
        for (std::size_t v = 0; v < 3; ++v) {
            const __m128i bytes = _mm_loadu_si128(block + v);
            const __m128i low = scale_half(_mm_unpacklo_epi8(bytes, zero), level[2 * v]);
            const __m128i high = scale_half(_mm_unpackhi_epi8(bytes, zero), level[2 * v + 1]);
            _mm_storeu_si128(block + v, _mm_packus_epi16(low, high));
        }
    }
    return groups * 16;
}

#else

std::size_t ColorLevelFilter::ApplyRunVector(std::uint8_t*, std::size_t) const noexcept { return 0; }

#endif

}  // namespace lumora::zimage
