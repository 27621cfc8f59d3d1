#include "effects/zoom_window.h"

#include "effects/zoom_kernels.h"
#include "zimage/doubling_kernels.h"

#include <lumora/video_frame_layout.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace lumora {

namespace {

// The bilinear weights are fixed-point numbers with 11 fraction bits.
constexpr float kWeightOne = 2048.0f;
constexpr std::size_t kBytesPerPixel = 3;

std::int16_t Weight(float w) noexcept {
    const long rounded = std::lrint(w * kWeightOne);  // round half to even
    return static_cast<std::int16_t>(std::clamp<long>(rounded, INT16_MIN, INT16_MAX));
}

std::int32_t ClampIndex(std::int32_t i, std::int32_t size) noexcept { return std::clamp(i, 0, size - 1); }

}  // namespace

bool ZoomWindow::IsValid(const Geometry& g) noexcept {
    return VideoFrameLayout::Of(g.width, g.height).valid() && g.zoomWidth >= g.width && g.zoomHeight >= g.height &&
           g.x >= 0 && g.y >= 0 && g.x <= g.zoomWidth - g.width && g.y <= g.zoomHeight - g.height;
}

bool ZoomWindow::Draw(std::uint8_t* pixels, std::int32_t width, std::int32_t height, std::int32_t zoomWidth,
                      std::int32_t zoomHeight, std::int32_t x, std::int32_t y) noexcept {
    const Geometry g{width, height, zoomWidth, zoomHeight, x, y};
    if (!pixels || !IsValid(g)) return false;
    const std::uint32_t stride = VideoFrameLayout::Of(width, height).stride();
    try {
        Prepare(g);
    } catch (const std::bad_alloc&) {
        Release();
        return false;
    }
    CopySource(pixels, stride);
    if (g.IsDouble()) {
        DrawDouble(pixels, stride);
    } else {
        DrawGeneral(pixels, stride);
    }
    return true;
}

void ZoomWindow::Release() noexcept {
    geometry_ = Geometry{};
    columns_ = {};
    columnOffsets_ = {};
    columnWeights_ = {};
    rows_ = {};
    source_ = {};
    for (auto& buffer : doubled_) buffer = {};
    for (auto& buffer : weighted_) buffer = {};
    widenedRow_[0] = widenedRow_[1] = -1;
}

// Sampling as in OpenCV's INTER_LINEAR: output i takes source position
// (i + 0.5) * size / zoomSize - 0.5, computed in float, and the two samples around it.
void ZoomWindow::MakeTaps(std::vector<Tap>& taps, std::int32_t first, std::int32_t count, std::int32_t size,
                          std::int32_t zoomSize, bool clampWeights) {
    taps.resize(static_cast<std::size_t>(count));
    const double scale = 1.0 / (static_cast<double>(zoomSize) / size);
    for (std::int32_t i = 0; i < count; ++i) {
        float f = static_cast<float>((first + i + 0.5) * scale - 0.5);
        std::int32_t s = static_cast<std::int32_t>(std::floor(f));
        f -= static_cast<float>(s);
        if (clampWeights && s < 0) f = 0.0f, s = 0;
        if (clampWeights && s >= size - 1) f = 0.0f, s = size - 1;
        taps[static_cast<std::size_t>(i)] =
            Tap{ClampIndex(s, size), ClampIndex(s + 1, size), Weight(1.0f - f), Weight(f)};
    }
}

void ZoomWindow::Prepare(const Geometry& g) {
    if (g == geometry_) return;
    geometry_ = Geometry{};
    MakeTaps(columns_, g.x, g.width, g.width, g.zoomWidth, true);
    MakeTaps(rows_, g.y, g.height, g.height, g.zoomHeight, false);

    sourceLeft_ = columns_.front().first;
    sourceColumns_ = columns_.back().second - sourceLeft_ + 1;
    sourceBottom_ = rows_.front().first;
    sourceRows_ = rows_.back().second - sourceBottom_ + 1;
    // A column's second sample is the pixel after its first whenever its weight is not 0.
    columnOffsets_.resize(columns_.size());
    columnWeights_.resize(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const Tap& tap = columns_[i];
        columnOffsets_[i] = static_cast<std::int32_t>((tap.first - sourceLeft_ + 1) * kBytesPerPixel);
        columnWeights_[i] = static_cast<std::uint16_t>(tap.weight0) |
                            static_cast<std::uint32_t>(static_cast<std::uint16_t>(tap.weight1)) << 16;
    }
    for (Tap& tap : rows_) {
        tap.first -= sourceBottom_;
        tap.second -= sourceBottom_;
    }
    sourceStride_ = (static_cast<std::size_t>(sourceColumns_) + 2) * kBytesPerPixel;
    source_.resize(sourceStride_ * static_cast<std::size_t>(sourceRows_) + ZoomKernels::kSlack);
    const std::size_t rowBytes = static_cast<std::size_t>(g.width) * kBytesPerPixel;
    if (g.IsDouble()) {
        for (auto& buffer : doubled_) buffer.resize(2 * sourceStride_ + ZoomKernels::kSlack);
    } else {
        for (auto& buffer : weighted_) buffer.resize(rowBytes + 1);
    }
    geometry_ = g;
}

// The window is written over the frame it is made from, so the source pixels under it are
// copied first. The extra pixel on either side repeats the edge pixel: at the frame's
// edges that is the scaler's clamping; elsewhere no visible pixel depends on it.
void ZoomWindow::CopySource(const std::uint8_t* pixels, std::uint32_t stride) noexcept {
    const std::size_t bytes = static_cast<std::size_t>(sourceColumns_) * kBytesPerPixel;
    for (std::int32_t r = 0; r < sourceRows_; ++r) {
        std::uint8_t* to = source_.data() + static_cast<std::size_t>(r) * sourceStride_;
        const std::uint8_t* from = pixels + static_cast<std::size_t>(sourceBottom_ + r) * stride +
                                   static_cast<std::size_t>(sourceLeft_) * kBytesPerPixel;
        std::memcpy(to + kBytesPerPixel, from, bytes);
        std::memcpy(to, from, kBytesPerPixel);
        std::memcpy(to + kBytesPerPixel + bytes, from + bytes - kBytesPerPixel, kBytesPerPixel);
    }
    widenedRow_[0] = widenedRow_[1] = -1;
}

const std::uint8_t* ZoomWindow::SourceRow(std::int32_t row) const noexcept {
    return source_.data() + static_cast<std::size_t>(row) * sourceStride_;
}

template <class T>
const T* ZoomWindow::Widened(std::vector<T> (&buffers)[2], std::int32_t row, std::int32_t keep) {
    for (int i = 0; i < 2; ++i) {
        if (widenedRow_[i] == row) return buffers[i].data();
    }
    const int slot = widenedRow_[0] == keep ? 1 : 0;
    Widen(row, buffers[slot].data());
    widenedRow_[slot] = row;
    return buffers[slot].data();
}

void ZoomWindow::Widen(std::int32_t row, std::uint8_t* out) const noexcept {
    zimage::DoublingKernels::WidenDouble(SourceRow(row), sourceColumns_, out);
}

void ZoomWindow::Widen(std::int32_t row, std::int16_t* out) const noexcept {
    ZoomKernels::WidenWeighted(SourceRow(row), columnOffsets_.data(), columnWeights_.data(),
                               static_cast<std::int32_t>(columnOffsets_.size()), out);
}

// At exactly 2x each output row mixes its nearer source row by 3/4 and the other by 1/4,
// after both were doubled across the same way.
void ZoomWindow::DrawDouble(std::uint8_t* pixels, std::uint32_t stride) {
    const Geometry& g = geometry_;
    const std::size_t skip = static_cast<std::size_t>(g.x - 2 * sourceLeft_) * kBytesPerPixel;
    const std::size_t bytes = static_cast<std::size_t>(g.width) * kBytesPerPixel;
    for (std::int32_t j = 0; j < g.height; ++j) {
        const Tap& tap = rows_[static_cast<std::size_t>(j)];
        const bool firstNear = tap.weight0 >= tap.weight1;
        const std::int32_t near = firstNear ? tap.first : tap.second;
        const std::int32_t far = firstNear ? tap.second : tap.first;
        const std::uint8_t* a = Widened(doubled_, near, far);
        const std::uint8_t* b = Widened(doubled_, far, near);
        zimage::DoublingKernels::BlendQuarter(a + skip, b + skip, pixels + static_cast<std::size_t>(j) * stride, bytes);
    }
}

void ZoomWindow::DrawGeneral(std::uint8_t* pixels, std::uint32_t stride) {
    const std::size_t bytes = static_cast<std::size_t>(geometry_.width) * kBytesPerPixel;
    for (std::int32_t j = 0; j < geometry_.height; ++j) {
        const Tap& tap = rows_[static_cast<std::size_t>(j)];
        const std::int16_t* a = Widened(weighted_, tap.first, tap.second);
        const std::int16_t* b = Widened(weighted_, tap.second, tap.first);
        ZoomKernels::BlendWeighted(a, b, tap.weight0, tap.weight1, pixels + static_cast<std::size_t>(j) * stride,
                                   bytes);
    }
}

}  // namespace lumora
