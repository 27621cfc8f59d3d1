#include "common/drift_motion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumora::plugins {

namespace {

// What each hashed number of a particle decides.
enum Trait : std::uint32_t {
    kLane, kSpeed, kSize, kDelay, kSwayRate, kSwayPhase, kTurnRate, kTurnPhase, kColour, kOpacity
};

// A well-mixed number in [0, 1) for one trait of one particle.
double Unit(std::uint32_t index, Trait trait) noexcept {
    std::uint32_t x = index * 0x9E3779B9u + (trait + 1u) * 0x85EBCA6Bu;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x / 4294967296.0;
}

double Between(double low, double high, double unit) noexcept { return low + (high - low) * unit; }

std::int32_t Pick(std::int32_t count, double unit) noexcept {
    return std::min(count - 1, static_cast<std::int32_t>(unit * count));
}

}  // namespace

DriftMotion::DriftMotion(const DriftStyle& style) noexcept : style_(style) {
    style_.sizeClasses = std::max(1, style_.sizeClasses);
    style_.variants = std::max(1, style_.variants);
    style_.colours = std::max(1, style_.colours);
    style_.minOpacity = std::clamp(style_.minOpacity, 0, 255);
}

std::int32_t DriftMotion::Diameter(std::int32_t sizeClass, std::int32_t height) const noexcept {
    const double step = style_.sizeClasses > 1 ? double(sizeClass) / (style_.sizeClasses - 1) : 0.0;
    const double size = Between(style_.minSize, style_.maxSize, step);
    return std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(size * height)));
}

Placement DriftMotion::Place(std::uint32_t index, double elapsed, double speedScale, std::int32_t width,
                             std::int32_t height) const noexcept {
    Placement place;
    place.sizeClass = Pick(style_.sizeClasses, Unit(index, kSize));
    const std::int32_t diameter = Diameter(place.sizeClass, height);

    // Distance travelled from the entry edge, where the particle is just out of sight.
    const double cycle = height + diameter;
    const double speed = Between(style_.minSpeed, style_.maxSpeed, Unit(index, kSpeed)) * height * speedScale;
    const double travelled = speed * elapsed - Unit(index, kDelay) * cycle;
    if (!(travelled >= 0) || cycle <= 0) return place;  // not entered yet
    const double along = std::fmod(travelled, cycle);
    const double centreY = style_.rising ? along - diameter / 2.0 : height + diameter / 2.0 - along;

    constexpr double kTurn = 2 * std::numbers::pi;
    const double swayRate = Between(style_.minSwayHz, style_.maxSwayHz, Unit(index, kSwayRate));
    const double swing = std::sin(kTurn * (swayRate * elapsed + Unit(index, kSwayPhase)));
    const double centreX = Unit(index, kLane) * width + style_.sway * height * swing;

    place.visible = true;
    place.x = static_cast<std::int32_t>(std::floor(centreX - diameter / 2.0 + 0.5));
    place.y = static_cast<std::int32_t>(std::floor(centreY - diameter / 2.0 + 0.5));
    if (style_.variants > 1) {
        const double turns = style_.turnsPerSecond * Between(0.6, 1.4, Unit(index, kTurnRate)) * elapsed +
                             Unit(index, kTurnPhase);
        place.variant = Pick(style_.variants, turns - std::floor(turns));
    }
    place.colour = Pick(style_.colours, Unit(index, kColour));
    place.opacity = static_cast<std::int32_t>(Between(style_.minOpacity, 255.999, Unit(index, kOpacity)));
    return place;
}

}  // namespace lumora::plugins
