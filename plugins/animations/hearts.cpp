#include "animations/hearts.h"

#include <QPainter>
#include <QPainterPath>

namespace lumora::plugins {

namespace {

constexpr DriftStyle kHeartStyle{
    .rising = true, .minSpeed = 0.06, .maxSpeed = 0.13, .minSize = 0.035, .maxSize = 0.09, .sway = 0.03,
    .minSwayHz = 0.15, .maxSwayHz = 0.4, .minOpacity = 190};

}  // namespace

Hearts::Hearts()
    : ParticleAnimation("Hearts", "3B224683-D027-428F-8039-CDC30A312B59", kHeartStyle,
                        {Bgr{48, 32, 220}, Bgr{140, 90, 255}, Bgr{110, 40, 235}, Bgr{170, 150, 255}}) {}

double Hearts::Coverage(std::int32_t, double u, double v) const {
    // Inside the heart curve (x^2 + y^2 - 1)^3 = x^2 y^3, lobes up, fitted to the square.
    const double x = u * 1.15;
    const double y = v * 1.15 + 0.12;
    const double a = x * x + y * y - 1;
    return a * a * a - x * x * y * y * y <= 0 ? 1.0 : 0.0;
}

void Hearts::PaintIcon(QPainter& painter) const {
    QPainterPath heart(QPointF(16, 27));
    heart.cubicTo(QPointF(2, 17), QPointF(5, 5), QPointF(16, 11));
    heart.cubicTo(QPointF(27, 5), QPointF(30, 17), QPointF(16, 27));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(225, 40, 60));
    painter.drawPath(heart);
}

}  // namespace lumora::plugins
