#include "animations/snowfall.h"

#include "common/options_form.h"
#include "common/registry_setting.h"

#include <QPainter>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumora::plugins {

namespace {

constexpr DriftStyle kSnowStyle{
    .minSpeed = 0.08, .maxSpeed = 0.16, .minSize = 0.008, .maxSize = 0.03, .sway = 0.02, .minSwayHz = 0.1,
    .maxSwayHz = 0.35, .minOpacity = 140};

}  // namespace

Snowfall::Snowfall()
    : ParticleAnimation("Falling snow", "F2C1BBE2-1F4D-44AC-BB05-7B069A48F38F", kSnowStyle, {Bgr{255, 250, 246}}) {}

double Snowfall::Coverage(std::int32_t, double u, double v) const {
    // A disc that fades out over its outer half.
    return (1.0 - std::hypot(u, v)) * 2.0;
}

bool Snowfall::ShowOptions() {
    OptionsForm form(ownerWindow, "Falling snow");
    QSpinBox* amount = form.AddNumber("Number of flakes:", kMinAmount, kMaxAmount, amount_.load());
    QSpinBox* speed = form.AddNumber("Speed (1 to 10):", kMinSpeed, kMaxSpeed, speed_.load());
    if (!form.Run()) return false;
    amount_.store(static_cast<std::uint32_t>(amount->value()));
    speed_.store(static_cast<std::uint32_t>(speed->value()));
    return true;
}

void Snowfall::LoadSettings(HKEY root, const char* path) {
    LoadBoundedSetting(root, path, "Amount", kMinAmount, kMaxAmount, amount_);
    LoadBoundedSetting(root, path, "Speed", kMinSpeed, kMaxSpeed, speed_);
}

void Snowfall::SaveSettings(HKEY root, const char* path) {
    WriteRegDword(root, path, "Amount", amount_.load());
    WriteRegDword(root, path, "Speed", speed_.load());
}

void Snowfall::PaintIcon(QPainter& painter) const {
    // A six-armed flake.
    painter.setPen(QPen(QColor(235, 245, 255), 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int arm = 0; arm < 6; ++arm) {
        const double angle = arm * std::numbers::pi / 3;
        const QPointF tip(16 + 12 * std::cos(angle), 16 + 12 * std::sin(angle));
        const QPointF mid(16 + 7 * std::cos(angle), 16 + 7 * std::sin(angle));
        painter.drawLine(QPointF(16, 16), tip);
        for (const double side : {-0.6, 0.6}) {
            painter.drawLine(mid, QPointF(mid.x() + 4 * std::cos(angle + side), mid.y() + 4 * std::sin(angle + side)));
        }
    }
}

}  // namespace lumora::plugins
