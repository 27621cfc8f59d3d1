#include "filters/grey_filter.h"

#include "filters/luma.h"

#include <QPainter>

namespace lumora::plugins {

GreyFilter::GreyFilter() : PluginEffect("Black and white", "0396C1F1-10CE-4D92-9BD6-446B005B127F", kLayerFilter) {}

void GreyFilter::Render(const FrameView& frame, double) {
    for (std::int32_t y = 0; y < frame.height; ++y) GreyRow(frame.Row(y), frame.width);
}

void GreyFilter::PaintIcon(QPainter& painter) const {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 150, 40));
    painter.drawPie(QRectF(5, 5, 22, 22), 90 * 16, 180 * 16);
    painter.setBrush(QColor(160, 160, 160));
    painter.drawPie(QRectF(5, 5, 22, 22), -90 * 16, 180 * 16);
}

}  // namespace lumora::plugins
