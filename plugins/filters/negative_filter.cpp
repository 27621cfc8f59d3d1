#include "filters/negative_filter.h"

#include <QPainter>

namespace lumora::plugins {

NegativeFilter::NegativeFilter() : PluginEffect("Negative", "DF9F2D6C-6AC2-43F0-BA40-18B80C2D9AEF", kLayerFilter) {}

void NegativeFilter::Render(const FrameView& frame, double) {
    const std::size_t bytes = frame.RowBytes();
    for (std::int32_t y = 0; y < frame.height; ++y) {
        std::uint8_t* row = frame.Row(y);
        for (std::size_t i = 0; i < bytes; ++i) row[i] = static_cast<std::uint8_t>(~row[i]);
    }
}

void NegativeFilter::PaintIcon(QPainter& painter) const {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(245, 245, 245));
    painter.drawRect(4, 4, 12, 24);
    painter.setBrush(QColor(20, 20, 20));
    painter.drawRect(16, 4, 12, 24);
    painter.setBrush(QColor(20, 20, 20));
    painter.drawEllipse(QRectF(8, 10, 12, 12));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawPie(QRectF(8, 10, 12, 12), -90 * 16, 180 * 16);
}

}  // namespace lumora::plugins
