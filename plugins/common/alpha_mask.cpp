#include "common/alpha_mask.h"

#include <algorithm>
#include <cmath>

namespace lumora::plugins {

namespace {

constexpr int kSamples = 4;  // per pixel and axis

// (from * (255 - alpha) + to * alpha) / 255, rounded.
inline std::uint8_t Mix(std::uint8_t from, std::uint8_t to, std::uint32_t alpha) noexcept {
    return static_cast<std::uint8_t>((from * (255u - alpha) + to * alpha + 127u) / 255u);
}

}  // namespace

void AlphaMask::Resize(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) width = height = 0;
    width_ = width;
    height_ = height;
    values_.assign(static_cast<std::size_t>(width) * height, 0);
}

void AlphaMask::Draw(const Shape& shape) {
    for (std::int32_t y = 0; y < height_; ++y) {
        for (std::int32_t x = 0; x < width_; ++x) {
            double sum = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                const double v = ((y + (sy + 0.5) / kSamples) / height_) * 2 - 1;
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double u = ((x + (sx + 0.5) / kSamples) / width_) * 2 - 1;
                    sum += std::clamp(shape(u, v), 0.0, 1.0);
                }
            }
            Row(y)[x] = static_cast<std::uint8_t>(std::lround(sum * 255 / (kSamples * kSamples)));
        }
    }
}

void AlphaMask::ResampleFrom(const AlphaMask& source, std::int32_t width, std::int32_t height) {
    Resize(width, height);
    if (empty() || source.empty()) return;
    const auto span = [](std::int32_t i, std::int32_t to, std::int32_t from) {
        const std::int32_t first = static_cast<std::int32_t>(static_cast<std::int64_t>(i) * from / to);
        const std::int32_t last = static_cast<std::int32_t>(static_cast<std::int64_t>(i + 1) * from / to);
        return std::pair{first, std::max(last, first + 1)};
    };
    for (std::int32_t y = 0; y < height_; ++y) {
        const auto [y0, y1] = span(y, height_, source.height_);
        for (std::int32_t x = 0; x < width_; ++x) {
            const auto [x0, x1] = span(x, width_, source.width_);
            std::uint32_t sum = 0;
            for (std::int32_t sy = y0; sy < y1; ++sy) {
                const std::uint8_t* row = source.Row(sy);
                for (std::int32_t sx = x0; sx < x1; ++sx) sum += row[sx];
            }
            const auto count = static_cast<std::uint32_t>((y1 - y0) * (x1 - x0));
            Row(y)[x] = static_cast<std::uint8_t>((sum + count / 2) / count);
        }
    }
}

void AlphaMask::Blend(const FrameView& frame, std::int32_t x, std::int32_t y, Bgr colour,
                      std::int32_t opacity) const {
    const std::int32_t left = std::max(0, -x);
    const std::int32_t right = std::min(width_, frame.width - x);
    const std::int32_t bottom = std::max(0, -y);
    const std::int32_t top = std::min(height_, frame.height - y);
    if (left >= right || bottom >= top || opacity <= 0) return;
    const auto scale = static_cast<std::uint32_t>(std::min(opacity, 255));
    for (std::int32_t my = bottom; my < top; ++my) {
        const std::uint8_t* values = Row(my);
        std::uint8_t* pixel = frame.Row(y + my) + static_cast<std::size_t>(x + left) * 3;
        for (std::int32_t mx = left; mx < right; ++mx, pixel += 3) {
            const std::uint32_t alpha = (values[mx] * scale + 127u) / 255u;
            if (alpha == 0) continue;
            pixel[0] = Mix(pixel[0], colour.b, alpha);
            pixel[1] = Mix(pixel[1], colour.g, alpha);
            pixel[2] = Mix(pixel[2], colour.r, alpha);
        }
    }
}

}  // namespace lumora::plugins
