#include "doubling_kernels.h"

#include <array>

#if defined(__x86_64__)
#include <immintrin.h>
#define LUMORA_DOUBLING_X86 1
#endif

namespace lumora::zimage {

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

#if defined(LUMORA_DOUBLING_X86)

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

// (3 * near + far + 2) >> 2 for (near, far) byte pairs: the multiply-add gives 3n + f, and
// the rounding high multiply by 2^13 is exactly the rounded division by 4.
__attribute__((target("ssse3"))) inline __m128i QuarterPairs(__m128i pairs) noexcept {
    return _mm_mulhrs_epi16(_mm_maddubs_epi16(pairs, _mm_set1_epi16(0x0103)), _mm_set1_epi16(1 << 13));
}

__attribute__((target("avx2"))) inline __m256i QuarterPairs(__m256i pairs) noexcept {
    return _mm256_mulhrs_epi16(_mm256_maddubs_epi16(pairs, _mm256_set1_epi16(0x0103)), _mm256_set1_epi16(1 << 13));
}

// Widens the 16-pixel blocks from `block` on (rounded up to whole blocks).
__attribute__((target("ssse3"))) void WidenDoubleSsse3(const std::uint8_t* padded, std::int32_t block,
                                                       std::int32_t pixels, std::uint8_t* out) noexcept {
    const WidenShuffles& s = Shuffles();
    __m128i pairs[12];
    for (int g = 0; g < 12; ++g) pairs[g] = _mm_load_si128(reinterpret_cast<const __m128i*>(s.pairs[g].data()));
    const std::uint8_t* from = padded + 3 + 48 * block;
    out += 96 * block;
    for (std::int32_t done = 16 * block; done < pixels; done += 16, from += 48, out += 96) {
        for (int g = 0; g < 12; g += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + s.start[g]));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + s.start[g + 1]));
            const __m128i low = QuarterPairs(_mm_shuffle_epi8(a, pairs[g]));
            const __m128i high = QuarterPairs(_mm_shuffle_epi8(b, pairs[g + 1]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8 * g), _mm_packus_epi16(low, high));
        }
    }
}

// One group of output bytes for a block (low lane) and the next block (high lane).
__attribute__((target("avx2"))) inline __m256i WidenGroup(const std::uint8_t* block, int start,
                                                          __m256i pairs) noexcept {
    const __m256i bytes = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(block + 48 + start),
                                              reinterpret_cast<const __m128i*>(block + start));
    return QuarterPairs(_mm256_shuffle_epi8(bytes, pairs));
}

// Two blocks a step: block b in the low 16-byte lane and block b + 1 in the high one, as
// the byte shuffles and the pack work within each lane. Returns the blocks widened.
__attribute__((target("avx2"))) std::int32_t WidenDoubleAvx2(const std::uint8_t* padded, std::int32_t pixels,
                                                             std::uint8_t* out) noexcept {
    const WidenShuffles& s = Shuffles();
    __m256i pairs[12];
    for (int g = 0; g < 12; ++g) {
        pairs[g] = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(s.pairs[g].data())));
    }
    const std::int32_t blocks = (pixels + 15) / 16;
    std::int32_t b = 0;
    for (; b + 2 <= blocks; b += 2) {
        const std::uint8_t* from = padded + 3 + 48 * b;
        std::uint8_t* to = out + 96 * b;
        for (int g = 0; g < 12; g += 2) {
            _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(to + 96 + 8 * g), reinterpret_cast<__m128i*>(to + 8 * g),
                                 _mm256_packus_epi16(WidenGroup(from, s.start[g], pairs[g]),
                                                     WidenGroup(from, s.start[g + 1], pairs[g + 1])));
        }
    }
    return b;
}

// The same 16 or 32 bytes a step. The unpacks and the pack work within each 16-byte lane,
// so the bytes come out in order.
__attribute__((target("ssse3"))) std::size_t BlendQuarterSsse3(const std::uint8_t* near, const std::uint8_t* far,
                                                               std::uint8_t* out, std::size_t bytes) noexcept {
    std::size_t k = 0;
    for (; k + 16 <= bytes; k += 16) {
        const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near + k));
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(far + k));
        const __m128i low = QuarterPairs(_mm_unpacklo_epi8(n, f));
        const __m128i high = QuarterPairs(_mm_unpackhi_epi8(n, f));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(low, high));
    }
    return k;
}

__attribute__((target("avx2"))) std::size_t BlendQuarterAvx2(const std::uint8_t* near, const std::uint8_t* far,
                                                             std::uint8_t* out, std::size_t bytes) noexcept {
    std::size_t k = 0;
    for (; k + 32 <= bytes; k += 32) {
        const __m256i n = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(near + k));
        const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(far + k));
        const __m256i low = QuarterPairs(_mm256_unpacklo_epi8(n, f));
        const __m256i high = QuarterPairs(_mm256_unpackhi_epi8(n, f));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k), _mm256_packus_epi16(low, high));
    }
    return k;
}

#endif

struct Cpu {
    bool ssse3 = false;
    bool avx2 = false;
};

const Cpu& Features() noexcept {
    static const Cpu cpu = [] {
        Cpu c;
#if defined(LUMORA_DOUBLING_X86)
        c.ssse3 = __builtin_cpu_supports("ssse3");
        c.avx2 = __builtin_cpu_supports("avx2");
#endif
        return c;
    }();
    return cpu;
}

}  // namespace

void DoublingKernels::WidenDouble(const std::uint8_t* padded, std::int32_t pixels, std::uint8_t* out) noexcept {
#if defined(LUMORA_DOUBLING_X86)
    if (Features().ssse3) {
        const std::int32_t done = Features().avx2 ? WidenDoubleAvx2(padded, pixels, out) : 0;
        return WidenDoubleSsse3(padded, done, pixels, out);
    }
#endif
    WidenDoublePlain(padded, pixels, out);
}

void DoublingKernels::BlendQuarter(const std::uint8_t* near, const std::uint8_t* far, std::uint8_t* out,
                                   std::size_t bytes) noexcept {
    std::size_t done = 0;
#if defined(LUMORA_DOUBLING_X86)
    if (Features().avx2) done = BlendQuarterAvx2(near, far, out, bytes);
    if (Features().ssse3) done += BlendQuarterSsse3(near + done, far + done, out + done, bytes - done);
#endif
    BlendQuarterPlain(near + done, far + done, out + done, bytes - done);
}

}  // namespace lumora::zimage
