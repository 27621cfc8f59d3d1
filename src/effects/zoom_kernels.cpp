#include "effects/zoom_kernels.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#define LUMORA_ZOOM_X86 1
#endif

namespace lumora {

namespace {

void WidenWeightedPlain(const std::uint8_t* row, const std::int32_t* offsets, const std::uint32_t* weights,
                        std::int32_t pixels, std::int16_t* out) noexcept {
    for (std::int32_t i = 0; i < pixels; ++i, out += 3) {
        const std::uint8_t* a = row + offsets[i];
        const std::int32_t w0 = static_cast<std::int16_t>(weights[i] & 0xFFFF);
        const std::int32_t w1 = static_cast<std::int16_t>(weights[i] >> 16);
        for (int c = 0; c < 3; ++c) out[c] = static_cast<std::int16_t>((a[c] * w0 + a[c + 3] * w1) >> 4);
    }
}

#if defined(LUMORA_ZOOM_X86)

// One output pixel per step: the six bytes of the two source pixels become (near, far)
// pairs of 16-bit lanes, and one multiply-add per channel applies both weights.
__attribute__((target("ssse3"))) void WidenWeightedSsse3(const std::uint8_t* row, const std::int32_t* offsets,
                                                         const std::uint32_t* weights, std::int32_t pixels,
                                                         std::int16_t* out) noexcept {
    const __m128i pairs = _mm_setr_epi8(0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1);
    for (std::int32_t i = 0; i < pixels; ++i, out += 3) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + offsets[i]));
        const __m128i w = _mm_set1_epi32(static_cast<int>(weights[i]));
        const __m128i sums = _mm_srai_epi32(_mm_madd_epi16(_mm_shuffle_epi8(bytes, pairs), w), 4);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(sums, sums));
    }
}

#endif

// The vector loop of OpenCV's bilinear kernel: each product keeps its top 16 bits and the
// sum is rounded to the nearest 4. SSE2 is part of every x86-64 processor.
void BlendWeightedLoop(const std::int16_t* a, const std::int16_t* b, std::int16_t wa, std::int16_t wb,
                       std::uint8_t* out, std::size_t bytes) noexcept {
    std::size_t k = 0;
#if defined(LUMORA_ZOOM_X86)
    const __m128i va = _mm_set1_epi16(wa), vb = _mm_set1_epi16(wb), two = _mm_set1_epi16(2);
    for (; k + 16 <= bytes; k += 16) {
        const __m128i a0 = _mm_mulhi_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k)), va);
        const __m128i a1 = _mm_mulhi_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k + 8)), va);
        const __m128i b0 = _mm_mulhi_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k)), vb);
        const __m128i b1 = _mm_mulhi_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k + 8)), vb);
        const __m128i low = _mm_srai_epi16(_mm_add_epi16(_mm_add_epi16(a0, b0), two), 2);
        const __m128i high = _mm_srai_epi16(_mm_add_epi16(_mm_add_epi16(a1, b1), two), 2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(low, high));
    }
#endif
    for (; k < bytes; ++k) {
        const int v = (((a[k] * wa) >> 16) + ((b[k] * wb) >> 16) + 2) >> 2;
        out[k] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    }
}

bool HasSsse3() noexcept {
#if defined(LUMORA_ZOOM_X86)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3;
#else
    return false;
#endif
}

}  // namespace

void ZoomKernels::WidenWeighted(const std::uint8_t* row, const std::int32_t* offsets, const std::uint32_t* weights,
                                std::int32_t pixels, std::int16_t* out) noexcept {
#if defined(LUMORA_ZOOM_X86)
    if (HasSsse3()) return WidenWeightedSsse3(row, offsets, weights, pixels, out);
#endif
    WidenWeightedPlain(row, offsets, weights, pixels, out);
}

void ZoomKernels::BlendWeighted(const std::int16_t* a, const std::int16_t* b, std::int16_t wa, std::int16_t wb,
                                std::uint8_t* out, std::size_t bytes) noexcept {
    BlendWeightedLoop(a, b, wa, wb, out, bytes);
}

}  // namespace lumora
