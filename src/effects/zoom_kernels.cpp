#include "effects/zoom_kernels.h"

#include <algorithm>
#include <array>

#if defined(__x86_64__)
#include <immintrin.h>
#define LUMORA_ZOOM_X86 1
#endif

namespace lumora {

namespace {

std::uint8_t Quarter(std::uint8_t near, std::uint8_t far) noexcept {
    return static_cast<std::uint8_t>((3 * near + far + 2) >> 2);
}

void WidenDoublePlain(const std::uint8_t* padded, std::int32_t pixels, std::uint8_t* out) noexcept {
    const std::uint8_t* p = padded + 3;
    for (std::int32_t i = 0; i < pixels; ++i, p += 3, out += 6) {
        for (int c = 0; c < 3; ++c) {
            out[c] = Quarter(p[c], p[c - 3]);
            out[3 + c] = Quarter(p[c], p[c + 3]);
        }
    }
}

void BlendQuarterPlain(const std::uint8_t* near, const std::uint8_t* far, std::uint8_t* out,
                       std::size_t bytes) noexcept {
    for (std::size_t k = 0; k < bytes; ++k) out[k] = Quarter(near[k], far[k]);
}

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

// 16 source pixels (48 bytes) make 32 output pixels (96 bytes), built as twelve groups of
// eight output bytes. Output byte o is channel o % 3 of output pixel o / 3, which mixes
// source pixel o / 6 (weight 3) with its left neighbour (even output pixels) or its right
// one (odd). Each group gathers its (near, far) byte pairs from one 16-byte load.
struct WidenShuffles {
    std::array<int, 12> start;  // first byte of the group's load, from the block's first pixel
    alignas(16) std::array<std::array<std::int8_t, 16>, 12> pairs;
};

WidenShuffles MakeWidenShuffles() noexcept {
    WidenShuffles s{};
    for (int group = 0; group < 12; ++group) {
        const int first = 8 * group;
        s.start[group] = 3 * (first / 6) - 3;
        for (int i = 0; i < 8; ++i) {
            const int o = first + i;
            const int pixel = o / 3, channel = o % 3;
            const int near = pixel / 2;
            const int far = pixel % 2 == 0 ? near - 1 : near + 1;
            s.pairs[group][2 * i] = static_cast<std::int8_t>(3 * near + channel - s.start[group]);
            s.pairs[group][2 * i + 1] = static_cast<std::int8_t>(3 * far + channel - s.start[group]);
        }
    }
    return s;
}

const WidenShuffles& Shuffles() noexcept {
    static const WidenShuffles shuffles = MakeWidenShuffles();
    return shuffles;
}

// (3 * near + far + 2) >> 2 for eight (near, far) byte pairs: the multiply-add gives
// 3n + f, and the rounding high multiply by 2^13 is exactly the rounded division by 4.
__attribute__((target("ssse3"))) inline __m128i QuarterPairs(__m128i pairs) noexcept {
    return _mm_mulhrs_epi16(_mm_maddubs_epi16(pairs, _mm_set1_epi16(0x0103)), _mm_set1_epi16(1 << 13));
}

__attribute__((target("ssse3"))) void WidenDoubleSsse3(const std::uint8_t* padded, std::int32_t pixels,
                                                       std::uint8_t* out) noexcept {
    const WidenShuffles& s = Shuffles();
    __m128i pairs[12];
    for (int g = 0; g < 12; ++g) pairs[g] = _mm_load_si128(reinterpret_cast<const __m128i*>(s.pairs[g].data()));
    const std::uint8_t* block = padded + 3;
    for (std::int32_t done = 0; done < pixels; done += 16, block += 48, out += 96) {
        for (int g = 0; g < 12; g += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + s.start[g]));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + s.start[g + 1]));
            const __m128i low = QuarterPairs(_mm_shuffle_epi8(a, pairs[g]));
            const __m128i high = QuarterPairs(_mm_shuffle_epi8(b, pairs[g + 1]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8 * g), _mm_packus_epi16(low, high));
        }
    }
}

__attribute__((target("avx2"))) void BlendQuarterAvx2(const std::uint8_t* near, const std::uint8_t* far,
                                                      std::uint8_t* out, std::size_t bytes) noexcept {
    const __m256i weights = _mm256_set1_epi16(0x0103);
    const __m256i quarter = _mm256_set1_epi16(1 << 13);
    std::size_t k = 0;
    for (; k + 32 <= bytes; k += 32) {
        const __m256i n = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(near + k));
        const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(far + k));
        const __m256i low = _mm256_mulhrs_epi16(_mm256_maddubs_epi16(_mm256_unpacklo_epi8(n, f), weights), quarter);
        const __m256i high = _mm256_mulhrs_epi16(_mm256_maddubs_epi16(_mm256_unpackhi_epi8(n, f), weights), quarter);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k), _mm256_packus_epi16(low, high));
    }
    BlendQuarterPlain(near + k, far + k, out + k, bytes - k);
}

__attribute__((target("ssse3"))) void BlendQuarterSsse3(const std::uint8_t* near, const std::uint8_t* far,
                                                        std::uint8_t* out, std::size_t bytes) noexcept {
    std::size_t k = 0;
    for (; k + 16 <= bytes; k += 16) {
        const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near + k));
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(far + k));
        const __m128i low = QuarterPairs(_mm_unpacklo_epi8(n, f));
        const __m128i high = QuarterPairs(_mm_unpackhi_epi8(n, f));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(low, high));
    }
    BlendQuarterPlain(near + k, far + k, out + k, bytes - k);
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

struct Cpu {
    bool ssse3 = false;
    bool avx2 = false;
};

const Cpu& Features() noexcept {
    static const Cpu cpu = [] {
        Cpu c;
#if defined(LUMORA_ZOOM_X86)
        c.ssse3 = __builtin_cpu_supports("ssse3");
        c.avx2 = __builtin_cpu_supports("avx2");
#endif
        return c;
    }();
    return cpu;
}

}  // namespace

void ZoomKernels::WidenDouble(const std::uint8_t* padded, std::int32_t pixels, std::uint8_t* out) noexcept {
#if defined(LUMORA_ZOOM_X86)
    if (Features().ssse3) return WidenDoubleSsse3(padded, pixels, out);
#endif
    WidenDoublePlain(padded, pixels, out);
}

void ZoomKernels::WidenWeighted(const std::uint8_t* row, const std::int32_t* offsets, const std::uint32_t* weights,
                                std::int32_t pixels, std::int16_t* out) noexcept {
#if defined(LUMORA_ZOOM_X86)
    if (Features().ssse3) return WidenWeightedSsse3(row, offsets, weights, pixels, out);
#endif
    WidenWeightedPlain(row, offsets, weights, pixels, out);
}

void ZoomKernels::BlendQuarter(const std::uint8_t* near, const std::uint8_t* far, std::uint8_t* out,
                               std::size_t bytes) noexcept {
#if defined(LUMORA_ZOOM_X86)
    if (Features().avx2) return BlendQuarterAvx2(near, far, out, bytes);
    if (Features().ssse3) return BlendQuarterSsse3(near, far, out, bytes);
#endif
    BlendQuarterPlain(near, far, out, bytes);
}

void ZoomKernels::BlendWeighted(const std::int16_t* a, const std::int16_t* b, std::int16_t wa, std::int16_t wb,
                                std::uint8_t* out, std::size_t bytes) noexcept {
    BlendWeightedLoop(a, b, wa, wb, out, bytes);
}

}  // namespace lumora
