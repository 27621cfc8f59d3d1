#include "animations/bubbles.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lumora::plugins {

namespace {

constexpr DriftStyle kBubbleStyle{
    .rising = true, .minSpeed = 0.05, .maxSpeed = 0.1, .minSize = 0.03, .maxSize = 0.11, .sway = 0.04,
    .minSwayHz = 0.2, .maxSwayHz = 0.5, .minOpacity = 150};

}  // namespace

Bubbles::Bubbles()
    : ParticleAnimation("Bubbles", "6038B976-7458-4DDE-8125-784B8BF2BFFC", kBubbleStyle,
                        {Bgr{255, 245, 225}, Bgr{255, 255, 255}, Bgr{250, 225, 235}}) {}

double Bubbles::Coverage(std::int32_t, double u, double v) const {
    const double r = std::hypot(u, v);
    if (r > 1) return 0;
    // A faint body, a rim that brightens towards the edge, and a highlight upper left.
    const double rim = std::clamp((r - 0.65) / 0.35, 0.0, 1.0);
    const double highlight = std::hypot(u + 0.38, v - 0.38) < 0.2 ? 0.9 : 0.0;
    return std::max(0.12 + 0.7 * rim * rim, highlight);
}

void Bubbles::PaintIcon(QPainter& painter) const {
    painter.setBrush(QColor(200, 230, 255, 50));
    painter.setPen(QPen(QColor(210, 235, 255), 1.5));
    painter.drawEllipse(QPointF(13, 18), 9, 9);
    painter.drawEllipse(QPointF(24, 9), 5, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QPointF(9.5, 14.5), 2, 2);
}

}  // namespace lumora::plugins
