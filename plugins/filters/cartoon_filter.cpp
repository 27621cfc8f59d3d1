#include "filters/cartoon_filter.h"

#include "common/vector_kernel.h"
#include "filters/luma.h"

#include <QPainter>

#include <algorithm>

namespace lumora::plugins {

namespace {

constexpr unsigned kEdgeThreshold = 56;  // summed central differences, 0 to 510

inline std::uint8_t Difference(std::uint8_t a, std::uint8_t b) noexcept {
    return static_cast<std::uint8_t>(std::max(a, b) - std::min(a, b));
}

// Per pixel: 0 where the brightness changes by more than the threshold, else 0xFF. The
// first and the last column repeat their own brightness outside the row.
LUMORA_VECTOR_KERNEL void OutlineRow(const std::uint8_t* below, const std::uint8_t* here, const std::uint8_t* above,
                                     std::uint8_t* keep, std::int32_t width) {
    const auto keepAt = [&](std::int32_t x, std::int32_t left, std::int32_t right) {
        const unsigned change = Difference(here[right], here[left]) + Difference(above[x], below[x]);
        return static_cast<std::uint8_t>(change > kEdgeThreshold ? 0 : 0xFF);
    };
    for (std::int32_t x = 1; x + 1 < width; ++x) keep[x] = keepAt(x, x - 1, x + 1);
    const std::int32_t last = width - 1;
    keep[0] = keepAt(0, 0, std::min(1, last));
    keep[last] = keepAt(last, std::max(last - 1, 0), last);
}

// The pixels' values onto each of their three bytes.
LUMORA_VECTOR_KERNEL void SpreadRow(const std::uint8_t* perPixel, std::uint8_t* perByte, std::int32_t width) {
    for (std::int32_t x = 0; x < width; ++x) {
        perByte[3 * x] = perPixel[x];
        perByte[3 * x + 1] = perPixel[x];
        perByte[3 * x + 2] = perPixel[x];
    }
}

// Every byte to the middle of its quarter (32, 96, 160, 224), or black on an outline.
LUMORA_VECTOR_KERNEL void FlattenRow(std::uint8_t* p, const std::uint8_t* keep, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(((p[i] & 0xC0) | 0x20) & keep[i]);
}

}  // namespace

CartoonFilter::CartoonFilter() : PluginEffect("Cartoon", "448E0A93-4ECA-47FC-85F6-2C93803C60A4", kLayerFilter) {}

void CartoonFilter::OnStop() {
    luma_ = {};
    keepPixels_ = {};
    keepBytes_ = {};
    lumaWidth_ = lumaHeight_ = 0;
}

void CartoonFilter::DrawRow(const FrameView& frame, std::int32_t y) {
    const auto lumaRow = [this, &frame](std::int32_t row) {
        return luma_.data() + static_cast<std::size_t>(std::clamp(row, 0, frame.height - 1)) * frame.width;
    };
    OutlineRow(lumaRow(y - 1), lumaRow(y), lumaRow(y + 1), keepPixels_.data(), frame.width);
    SpreadRow(keepPixels_.data(), keepBytes_.data(), frame.width);
    FlattenRow(frame.Row(y), keepBytes_.data(), frame.RowBytes());
}

void CartoonFilter::Render(const FrameView& frame, double) {
    if (frame.width != lumaWidth_ || frame.height != lumaHeight_) {
        luma_.assign(static_cast<std::size_t>(frame.width) * frame.height, 0);
        keepPixels_.assign(static_cast<std::size_t>(frame.width), 0);
        keepBytes_.assign(frame.RowBytes(), 0);
        lumaWidth_ = frame.width;
        lumaHeight_ = frame.height;
    }
    for (std::int32_t y = 0; y < frame.height; ++y) {
        LumaRow(frame.Row(y), luma_.data() + static_cast<std::size_t>(y) * frame.width, frame.width);
    }
    for (std::int32_t y = 0; y < frame.height; ++y) DrawRow(frame, y);
}

void CartoonFilter::PaintIcon(QPainter& painter) const {
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(QColor(255, 205, 80));
    painter.drawEllipse(QPointF(16, 16), 12, 12);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(12, 13), 1.5, 1.5);
    painter.drawEllipse(QPointF(20, 13), 1.5, 1.5);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(10, 12, 12, 10), -20 * 16, -140 * 16);
}

}  // namespace lumora::plugins
