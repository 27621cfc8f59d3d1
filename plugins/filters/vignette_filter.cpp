#include "filters/vignette_filter.h"

#include "common/vector_kernel.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace lumora::plugins {

namespace {

constexpr double kStrength = 0.68;    // darkening at the corners
constexpr double kClearCentre = 0.2;  // squared distance (corner = 1) up to which nothing darkens

// Half the squared distance of pixel i from the middle of `count`, in half counts, so a
// column's plus a row's is 1 in the corners.
double HalfSquaredDistance(std::int32_t i, std::int32_t count) {
    const double offset = (i + 0.5 - count / 2.0) / (count / 2.0);
    return offset * offset / 2;
}

// The byte gain at a squared distance: 255 (keep) up to the clear centre, then down along
// a smooth step to 1 - kStrength in the corners.
std::uint8_t GainAt(double squaredDistance) {
    const double t = std::clamp((squaredDistance - kClearCentre) / (1 - kClearCentre), 0.0, 1.0);
    const double kept = 1 - kStrength * t * t * (3 - 2 * t);
    return static_cast<std::uint8_t>(std::clamp(std::lround(kept * 256) - 1, 0L, 255L));
}

LUMORA_VECTOR_KERNEL void ShadeRow(std::uint8_t* p, const std::uint8_t* gains, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) {
        p[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(p[i] * (gains[i] + 1)) >> 8);
    }
}

}  // namespace

VignetteFilter::VignetteFilter() : PluginEffect("Vignette", "FFA14E68-7D84-47F8-A5A1-3AC964783125", kLayerFilter) {}

void VignetteFilter::OnStop() {
    gains_ = {};
    gainsWidth_ = gainsHeight_ = 0;
}

void VignetteFilter::MeasureGains(const FrameView& frame) {
    gains_.assign(static_cast<std::size_t>(frame.stride) * frame.height, 0);
    std::vector<double> columns(static_cast<std::size_t>(frame.width));
    for (std::int32_t x = 0; x < frame.width; ++x) {
        columns[static_cast<std::size_t>(x)] = HalfSquaredDistance(x, frame.width);
    }
    for (std::int32_t y = 0; y < frame.height; ++y) {
        const double row = HalfSquaredDistance(y, frame.height);
        std::uint8_t* gains = gains_.data() + static_cast<std::size_t>(y) * frame.stride;
        for (std::int32_t x = 0; x < frame.width; ++x) {
            gains[3 * x] = gains[3 * x + 1] = gains[3 * x + 2] = GainAt(row + columns[static_cast<std::size_t>(x)]);
        }
    }
    gainsWidth_ = frame.width;
    gainsHeight_ = frame.height;
}

void VignetteFilter::Render(const FrameView& frame, double) {
    if (frame.width != gainsWidth_ || frame.height != gainsHeight_) MeasureGains(frame);
    for (std::int32_t y = 0; y < frame.height; ++y) {
        ShadeRow(frame.Row(y), gains_.data() + static_cast<std::size_t>(y) * frame.stride, frame.RowBytes());
    }
}

void VignetteFilter::PaintIcon(QPainter& painter) const {
    QRadialGradient shade(QPointF(16, 16), 19);
    shade.setColorAt(0, QColor(235, 225, 205));
    shade.setColorAt(0.55, QColor(200, 185, 160));
    shade.setColorAt(1, QColor(25, 20, 15));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRect(3, 3, 26, 26);
}

}  // namespace lumora::plugins
