// TestFrame: a VideoFrame in a heap buffer of exactly the frame's size, so AddressSanitizer
// reports any byte an operation writes or reads past the end. Pixel access by (x, y) with
// y counted from the bottom row, as the operations count it.
#pragma once

#include <lumora/zimage.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumora::test {

using Bgr = std::array<std::uint8_t, 3>;

class TestFrame {
public:
    TestFrame(std::int32_t width, std::int32_t height, std::uint8_t fill = 0)
        : width_(width), height_(height), stride_(ZImage_CalcWidthBytes(width, 24)),
          bytes_(ZImage_CalcImageSize(width, height, 24), fill) {}

    std::uint8_t* data() { return bytes_.data(); }
    const std::uint8_t* data() const { return bytes_.data(); }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::size_t stride() const { return stride_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    Bgr at(std::int32_t x, std::int32_t y) const {
        const std::uint8_t* p = bytes_.data() + Offset(x, y);
        return {p[0], p[1], p[2]};
    }
    void set(std::int32_t x, std::int32_t y, Bgr value) { std::memcpy(bytes_.data() + Offset(x, y), value.data(), 3); }
    // A frame whose every byte (padding included) is a different, seed-derived value.
    static TestFrame Patterned(std::int32_t width, std::int32_t height, std::uint32_t seed) {
        TestFrame frame(width, height);
        frame.FillPattern(seed);
        return frame;
    }
    void FillPattern(std::uint32_t seed = 1) {
        std::uint32_t state = seed;
        for (auto& byte : bytes_) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(state >> 24);
        }
    }

private:
    std::size_t Offset(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x) * 3;
    }

    std::int32_t width_;
    std::int32_t height_;
    std::size_t stride_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace lumora::test
