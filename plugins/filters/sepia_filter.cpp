#include "filters/sepia_filter.h"

#include "common/vector_kernel.h"
#include "filters/luma.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace lumora::plugins {

namespace {

// Tone of a grey byte g of channel c: (base[c] * 256 + g * slope[c]) / 256, from dark brown
// (8, 18, 38) at black to cream (205, 238, 255) at white; fits 16 bits. Laid out for a run
// of kRun bytes (a whole number of pixels), so the loop below reads them straight.
constexpr std::size_t kRun = 96;
struct ToneTable {
    std::uint16_t base[kRun];
    std::uint16_t slope[kRun];
};
constexpr ToneTable MakeToneTable() {
    constexpr std::uint16_t base[] = {8 << 8, 18 << 8, 38 << 8};
    constexpr std::uint16_t slope[] = {198, 221, 218};
    ToneTable table{};
    for (std::size_t i = 0; i < kRun; ++i) {
        table.base[i] = base[i % 3];
        table.slope[i] = slope[i % 3];
    }
    return table;
}
constexpr ToneTable kTones = MakeToneTable();

// A grey row in the sepia tones.
LUMORA_VECTOR_KERNEL void ToneRow(std::uint8_t* p, std::size_t bytes) {
    for (std::size_t start = 0; start < bytes; start += kRun) {
        std::uint8_t* run = p + start;
        const std::size_t count = std::min(kRun, bytes - start);
        for (std::size_t i = 0; i < count; ++i) {
            const auto tone = static_cast<std::uint16_t>(kTones.base[i] + run[i] * kTones.slope[i]);
            run[i] = static_cast<std::uint8_t>(tone >> 8);
        }
    }
}

}  // namespace

SepiaFilter::SepiaFilter() : PluginEffect("Sepia", "77A7729D-1643-478A-9822-B5E8A84FB0B5", kLayerFilter) {}

void SepiaFilter::Render(const FrameView& frame, double) {
    for (std::int32_t y = 0; y < frame.height; ++y) {
        GreyRow(frame.Row(y), frame.width);
        ToneRow(frame.Row(y), frame.RowBytes());
    }
}

void SepiaFilter::PaintIcon(QPainter& painter) const {
    QLinearGradient sky(0, 4, 0, 28);
    sky.setColorAt(0, QColor(240, 220, 180));
    sky.setColorAt(1, QColor(120, 80, 40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRect(4, 4, 24, 24);
    painter.setBrush(QColor(90, 55, 25));
    painter.drawEllipse(QPointF(20, 12), 4, 4);
    painter.drawPolygon(QPolygonF({QPointF(4, 28), QPointF(13, 15), QPointF(22, 28)}));
}

}  // namespace lumora::plugins
