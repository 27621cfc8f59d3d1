#include "vcam/yuv_row_kernels.h"

#include <bit>
#include <cstring>

// The AVX2 clones matter: the BGR de-interleave only vectorises with byte shuffles.
// Not under ThreadSanitizer: it instruments the clones' resolver, which runs before its
// runtime has started.
#if defined(__x86_64__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define LUMORA_VECTOR_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define LUMORA_VECTOR_KERNEL
#endif

namespace lumora::yuv_kernels {
namespace {

inline std::uint8_t Blend(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    return static_cast<std::uint8_t>((a * (kWeightOne - weight) + b * weight + kWeightOne / 2) >> 7);
}

}  // namespace

// 16-bit intermediates keep the vectors wide: Y sums stay below 2^16, U and V within
// +-2^15.
LUMORA_VECTOR_KERNEL
void BgrToYuv444(const std::uint8_t* __restrict bgr, std::uint8_t* __restrict y,
                 std::uint8_t* __restrict u, std::uint8_t* __restrict v, int count) {
    for (int i = 0; i < count; ++i) {
        const std::int16_t b = bgr[3 * i];
        const std::int16_t g = bgr[3 * i + 1];
        const std::int16_t r = bgr[3 * i + 2];
        y[i] = static_cast<std::uint8_t>((static_cast<std::uint16_t>(66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
        u[i] = static_cast<std::uint8_t>((static_cast<std::int16_t>(112 * b - 38 * r - 74 * g + 128) >> 8) + 128);
        v[i] = static_cast<std::uint8_t>((static_cast<std::int16_t>(112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
    }
}

// One 32-bit load fetches both neighbours, which lets the loop use vector gathers.
LUMORA_VECTOR_KERNEL
void ResampleRow(const std::uint8_t* __restrict src, const std::int32_t* __restrict index,
                 const std::uint16_t* __restrict weight, std::uint8_t* __restrict out, int count) {
    static_assert(std::endian::native == std::endian::little);
    for (int i = 0; i < count; ++i) {
        std::uint32_t pair;
        std::memcpy(&pair, src + index[i], sizeof pair);
        out[i] = Blend(pair & 0xFF, (pair >> 8) & 0xFF, weight[i]);
    }
}

LUMORA_VECTOR_KERNEL
void BlendRows(const std::uint8_t* __restrict row0, const std::uint8_t* __restrict row1,
               std::uint16_t weight, std::uint8_t* __restrict out, int count) {
    for (int i = 0; i < count; ++i) out[i] = Blend(row0[i], row1[i], weight);
}

LUMORA_VECTOR_KERNEL
void BlendRowsToYuyv(const std::uint8_t* __restrict y0, const std::uint8_t* __restrict y1,
                     const std::uint8_t* __restrict u0, const std::uint8_t* __restrict u1,
                     const std::uint8_t* __restrict v0, const std::uint8_t* __restrict v1,
                     std::uint16_t weight, std::uint8_t* __restrict out, int pairs) {
    for (int i = 0; i < pairs; ++i) {
        out[4 * i] = Blend(y0[2 * i], y1[2 * i], weight);
        out[4 * i + 1] = Blend(u0[i], u1[i], weight);
        out[4 * i + 2] = Blend(y0[2 * i + 1], y1[2 * i + 1], weight);
        out[4 * i + 3] = Blend(v0[i], v1[i], weight);
    }
}

LUMORA_VECTOR_KERNEL
void PackYuyv(const std::uint8_t* __restrict y, const std::uint8_t* __restrict u, const std::uint8_t* __restrict v,
              std::uint8_t* __restrict out, int pairs) {
    for (int i = 0; i < pairs; ++i) {
        out[4 * i] = y[2 * i];
        out[4 * i + 1] = static_cast<std::uint8_t>((u[2 * i] + u[2 * i + 1] + 1) >> 1);
        out[4 * i + 2] = y[2 * i + 1];
        out[4 * i + 3] = static_cast<std::uint8_t>((v[2 * i] + v[2 * i + 1] + 1) >> 1);
    }
}

LUMORA_VECTOR_KERNEL
void AverageQuads(const std::uint8_t* __restrict row0, const std::uint8_t* __restrict row1,
                  std::uint8_t* __restrict out, int count) {
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<std::uint8_t>((row0[2 * i] + row0[2 * i + 1] + row1[2 * i] + row1[2 * i + 1] + 2) >> 2);
    }
}

}  // namespace lumora::yuv_kernels
