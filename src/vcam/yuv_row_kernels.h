// The per-row pixel loops of the virtual camera's frame conversion. Each is a plain loop
// over 8-bit samples that the compiler vectorises (the file is built with -O3, and on
// x86-64 each loop also gets an AVX2 clone chosen at load time).
//
// Colour: BT.601 limited range in 8-bit fixed point,
//   Y = 16  + (( 66 R + 129 G +  25 B + 128) >> 8)
//   U = 128 + ((-38 R -  74 G + 112 B + 128) >> 8)
//   V = 128 + ((112 R -  94 G -  18 B + 128) >> 8)
// Interpolation weights are 7-bit: 0 keeps the first sample, 128 takes the second.
//
// Plain functions; no state; the buffers must not overlap.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora::yuv_kernels {

constexpr std::uint16_t kWeightOne = 128;

// ResampleRow reads a few bytes past each sample it blends: the caller keeps
// kGatherSlack readable bytes from the highest index on.
constexpr std::size_t kGatherSlack = 4;

// One row of `count` BGR pixels to full-resolution Y, U and V samples.
void BgrToYuv444(const std::uint8_t* bgr, std::uint8_t* y, std::uint8_t* u, std::uint8_t* v,
                 int count);

// out[i] = src[index[i]] blended towards src[index[i] + 1] by weight[i].
void ResampleRow(const std::uint8_t* src, const std::int32_t* index, const std::uint16_t* weight,
                 std::uint8_t* out, int count);

// out[i] = row0[i] blended towards row1[i] by `weight`.
void BlendRows(const std::uint8_t* row0, const std::uint8_t* row1, std::uint16_t weight,
               std::uint8_t* out, int count);

// BlendRows of a Y row pair (2 * pairs samples) and of U and V row pairs (pairs samples
// each), written as YUYV.
void BlendRowsToYuyv(const std::uint8_t* y0, const std::uint8_t* y1, const std::uint8_t* u0,
                     const std::uint8_t* u1, const std::uint8_t* v0, const std::uint8_t* v1,
                     std::uint16_t weight, std::uint8_t* out, int pairs);

// Y samples (2 * pairs) with full-resolution U and V rows, written as YUYV; each pair's
// chroma is the rounded mean of its two pixels.
void PackYuyv(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v, std::uint8_t* out, int pairs);

// out[i]: the rounded mean of the 2x2 block at column 2i of two full-resolution rows.
void AverageQuads(const std::uint8_t* row0, const std::uint8_t* row1, std::uint8_t* out, int count);

}  // namespace lumora::yuv_kernels
