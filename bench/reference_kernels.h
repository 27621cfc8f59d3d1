// ReferenceKernels: the image operations written as the plain loops anyone would write
// first, one pixel and one channel at a time. They give the benchmarks a "loop" column, so
// the ratio table shows what the library's kernels gain. Frames are in the VideoFrame
// layout (24-bit, rows padded to four bytes, bottom row first); stateless.
#pragma once

#include <cstdint>

namespace lumora::bench {

class ReferenceKernels {
public:
    static void Resize(std::uint8_t* dst, int dst_width, int dst_height, const std::uint8_t* src, int src_width,
                       int src_height);
    static void Compose(std::uint8_t* dst, int dst_width, int dst_height, const std::uint8_t* src, int src_width,
                        int src_height, int x, int y);
    static void Fill(std::uint8_t* dst, int width, int height, int fill_width, int fill_height, int x, int y,
                     std::uint32_t colour);
    static void ColorFilter(std::uint8_t* pixels, int width, int height, int red, int green, int blue);
    static void DrawRect(std::uint8_t* pixels, int width, int height, int left, int top, int right, int bottom,
                         std::uint32_t colour);

private:
    static int Stride(int width) { return (width * 3 + 3) & ~3; }
    static void Put(std::uint8_t* pixels, int width, int height, int x, int y, std::uint32_t colour);
};

}  // namespace lumora::bench
