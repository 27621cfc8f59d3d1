#include "animations/confetti.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumora::plugins {

namespace {

constexpr std::int32_t kTurnShapes = 16;

constexpr DriftStyle kConfettiStyle{
    .minSpeed = 0.12, .maxSpeed = 0.22, .minSize = 0.014, .maxSize = 0.028, .sizeClasses = 3, .sway = 0.025,
    .minSwayHz = 0.3, .maxSwayHz = 0.8, .variants = kTurnShapes, .turnsPerSecond = 1.2, .minOpacity = 230};

}  // namespace

Confetti::Confetti()
    : ParticleAnimation("Confetti", "62638A20-D829-43BA-99C0-87B5C9BDB3BF", kConfettiStyle,
                        {Bgr{60, 60, 240}, Bgr{40, 200, 255}, Bgr{90, 210, 60}, Bgr{235, 140, 40},
                         Bgr{200, 70, 200}, Bgr{255, 255, 255}}) {}

double Confetti::Coverage(std::int32_t variant, double u, double v) const {
    // A strip seen while it turns over: its width shrinks with the cosine of the turn, and
    // it leans as it goes round.
    const double turn = 2 * std::numbers::pi * variant / kTurnShapes;
    const double lean = turn / 2;
    const double along = u * std::cos(lean) + v * std::sin(lean);
    const double across = -u * std::sin(lean) + v * std::cos(lean);
    const double halfWidth = 0.5 * std::max(0.15, std::abs(std::cos(turn)));
    return std::abs(along) <= 0.85 && std::abs(across) <= halfWidth ? 1.0 : 0.0;
}

void Confetti::PaintIcon(QPainter& painter) const {
    const QColor colours[] = {{240, 60, 60}, {255, 200, 40}, {60, 210, 90}, {40, 140, 235}, {200, 70, 200}};
    const QPointF places[] = {{8, 8}, {22, 7}, {14, 17}, {25, 22}, {7, 25}};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        painter.save();
        painter.translate(places[i]);
        painter.rotate(i * 37.0);
        painter.setBrush(colours[i]);
        painter.drawRect(QRectF(-4, -2, 8, 4));
        painter.restore();
    }
}

}  // namespace lumora::plugins
