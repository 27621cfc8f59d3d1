// Frames for the effect tests: allocation in the VideoFrame layout, filling, the
// reference zoom (enlarge the whole frame, cut the window out) and comparison.
#pragma once

#include <lumora/video_frame_layout.h>
#include <lumora/zimage.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace lumora::test {

struct TestFrame {
    TestFrame(std::int32_t w, std::int32_t h, std::uint8_t fill = 0)
        : width(w), height(h), layout(VideoFrameLayout::Of(w, h)), bytes(layout.size_bytes(), fill) {}

    std::uint8_t* data() { return bytes.data(); }
    std::uint8_t* pixel(std::int32_t x, std::int32_t y) { return bytes.data() + layout.PixelOffset(x, y); }
    void Set(std::int32_t x, std::int32_t y, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        std::uint8_t* p = pixel(x, y);
        p[0] = b, p[1] = g, p[2] = r;
    }

    std::int32_t width, height;
    VideoFrameLayout layout;
    std::vector<std::uint8_t> bytes;
};

// Random pixels (and random row padding), the same for the same seed.
inline TestFrame NoiseFrame(std::int32_t w, std::int32_t h, unsigned seed) {
    TestFrame frame(w, h);
    std::mt19937 random(seed);
    for (auto& b : frame.bytes) b = static_cast<std::uint8_t>(random());
    return frame;
}

// What the zoom must show: the frame enlarged whole to zw x zh and the window at (x, y).
inline TestFrame ReferenceZoom(const TestFrame& source, std::int32_t zw, std::int32_t zh, std::int32_t x,
                               std::int32_t y) {
    std::vector<std::uint8_t> enlarged(ZImage_CalcImageSize(zw, zh, 24));
    ZImage_Resize(enlarged.data(), zw, zh, source.bytes.data(), source.width, source.height);
    TestFrame out = source;
    ZImage_Composition(out.data(), out.width, out.height, enlarged.data(), zw, zh, -x, -y);
    return out;
}

// Largest difference of one channel over the pixels (padding is not compared).
inline int MaxPixelDifference(TestFrame& a, TestFrame& b) {
    int worst = 0;
    for (std::int32_t y = 0; y < a.height; ++y) {
        for (std::int32_t i = 0; i < a.width * 3; ++i) {
            worst = std::max(worst, std::abs(int{a.pixel(0, y)[i]} - int{b.pixel(0, y)[i]}));
        }
    }
    return worst;
}

// The padding bytes at the end of every row, which no effect may change.
inline std::vector<std::uint8_t> RowPadding(const TestFrame& frame) {
    std::vector<std::uint8_t> padding;
    for (std::int32_t y = 0; y < frame.height; ++y) {
        const auto row = frame.bytes.begin() + static_cast<std::ptrdiff_t>(frame.layout.PixelOffset(0, y));
        padding.insert(padding.end(), row + frame.width * 3, row + static_cast<std::ptrdiff_t>(frame.layout.stride()));
    }
    return padding;
}

}  // namespace lumora::test
