// Virtual camera test helpers: packets painted from a function, and the BT.601 limited-range
// values a colour must come out as (from the floating-point definition, not from the code).
#pragma once

#include "frames/frame_packet.h"

#include <lumora/video_frame_layout.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace lumora::test {

struct Bgr {
    std::uint8_t b, g, r;
};

inline constexpr Bgr kRed{0, 0, 255};
inline constexpr Bgr kGreen{0, 255, 0};
inline constexpr Bgr kBlue{255, 0, 0};
inline constexpr Bgr kWhite{255, 255, 255};
inline constexpr Bgr kBlack{0, 0, 0};

struct Yuv {
    double y, u, v;
};

inline Yuv ExpectedYuv(Bgr c) {
    const double r = c.r / 255.0, g = c.g / 255.0, b = c.b / 255.0;
    return {16 + 65.481 * r + 128.553 * g + 24.966 * b, 128 - 37.797 * r - 74.203 * g + 112.0 * b,
            128 + 112.0 * r - 93.786 * g - 18.214 * b};
}

// The colour of picture pixel (x, y), y counted from the TOP row.
using Painter = std::function<Bgr(int x, int y)>;

// A VideoFrame (bottom row first, rows padded) of the painted picture.
inline std::vector<std::uint8_t> MakeFrame(int width, int height, const Painter& paint) {
    const VideoFrameLayout layout = VideoFrameLayout::Of(width, height);
    std::vector<std::uint8_t> pixels(layout.size_bytes(), 0xEE);  // padding stays visible
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Bgr c = paint(x, y);
            std::uint8_t* p = pixels.data() + layout.PixelOffset(x, height - 1 - y);
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    }
    return pixels;
}

inline std::vector<std::uint8_t> MakePacket(int width, int height, const Painter& paint) {
    const std::vector<std::uint8_t> frame = MakeFrame(width, height, paint);
    std::vector<std::uint8_t> packet(FramePacket::kHeaderSize + frame.size());
    FramePacket::FillHeader(packet.data(), width, height, static_cast<std::uint32_t>(frame.size()));
    std::copy(frame.begin(), frame.end(), packet.begin() + FramePacket::kHeaderSize);
    return packet;
}

inline std::vector<std::uint8_t> SolidPacket(int width, int height, Bgr colour) {
    return MakePacket(width, height, [colour](int, int) { return colour; });
}

}  // namespace lumora::test
