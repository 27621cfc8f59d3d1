#include "reference_kernels.h"

#include <algorithm>
#include <cmath>

namespace lumora::bench {

void ReferenceKernels::Resize(std::uint8_t* dst, int dst_width, int dst_height, const std::uint8_t* src,
                              int src_width, int src_height) {
    const int src_stride = Stride(src_width);
    const int dst_stride = Stride(dst_width);
    for (int y = 0; y < dst_height; ++y) {
        const float sy = std::clamp((y + 0.5f) * src_height / dst_height - 0.5f, 0.0f, float(src_height - 1));
        const int y0 = static_cast<int>(sy);
        const int y1 = std::min(y0 + 1, src_height - 1);
        const float fy = sy - y0;
        for (int x = 0; x < dst_width; ++x) {
            const float sx = std::clamp((x + 0.5f) * src_width / dst_width - 0.5f, 0.0f, float(src_width - 1));
            const int x0 = static_cast<int>(sx);
            const int x1 = std::min(x0 + 1, src_width - 1);
            const float fx = sx - x0;
            for (int c = 0; c < 3; ++c) {
                const float bottom = src[y0 * src_stride + x0 * 3 + c] * (1 - fx) + src[y0 * src_stride + x1 * 3 + c] * fx;
                const float top = src[y1 * src_stride + x0 * 3 + c] * (1 - fx) + src[y1 * src_stride + x1 * 3 + c] * fx;
                dst[y * dst_stride + x * 3 + c] = static_cast<std::uint8_t>(bottom * (1 - fy) + top * fy + 0.5f);
            }
        }
    }
}

void ReferenceKernels::Compose(std::uint8_t* dst, int dst_width, int dst_height, const std::uint8_t* src,
                               int src_width, int src_height, int x, int y) {
    for (int ty = 0; ty < dst_height; ++ty) {
        for (int tx = 0; tx < dst_width; ++tx) {
            const int sx = tx - x;
            const int sy = ty - y;
            if (sx < 0 || sy < 0 || sx >= src_width || sy >= src_height) continue;
            for (int c = 0; c < 3; ++c) dst[ty * Stride(dst_width) + tx * 3 + c] = src[sy * Stride(src_width) + sx * 3 + c];
        }
    }
}

void ReferenceKernels::Put(std::uint8_t* pixels, int width, int height, int x, int y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    std::uint8_t* p = pixels + y * Stride(width) + x * 3;
    p[0] = static_cast<std::uint8_t>(colour >> 16);
    p[1] = static_cast<std::uint8_t>(colour >> 8);
    p[2] = static_cast<std::uint8_t>(colour);
}

void ReferenceKernels::Fill(std::uint8_t* dst, int width, int height, int fill_width, int fill_height, int x, int y,
                            std::uint32_t colour) {
    for (int ty = y; ty < y + fill_height; ++ty) {
        for (int tx = x; tx < x + fill_width; ++tx) Put(dst, width, height, tx, ty, colour);
    }
}

void ReferenceKernels::ColorFilter(std::uint8_t* pixels, int width, int height, int red, int green, int blue) {
    const int levels[3] = {blue, green, red};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = pixels + y * Stride(width) + x * 3;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(std::min(255, p[c] * levels[c] / 128));
        }
    }
}

void ReferenceKernels::DrawRect(std::uint8_t* pixels, int width, int height, int left, int top, int right, int bottom,
                                std::uint32_t colour) {
    for (int x = left; x < right; ++x) {
        Put(pixels, width, height, x, bottom, colour);
        Put(pixels, width, height, x, top - 1, colour);
    }
    for (int y = bottom; y < top; ++y) {
        Put(pixels, width, height, left, y, colour);
        Put(pixels, width, height, right - 1, y, colour);
    }
}

}  // namespace lumora::bench
