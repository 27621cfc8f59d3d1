// Snowfall ("Falling snow"): soft white flakes of four sizes drift down the picture,
// swaying, the small ones fainter as if further away. Configurable: the number of flakes
// ("Amount", 10 to 1000) and their speed ("Speed", 1 to 10, 5 being the usual fall),
// kept between runs and changed in the options dialog while the snow falls.
//
// Threads and lifetime as ParticleAnimation; the two settings are atomics.
#pragma once

#include "animations/particle_animation.h"

#include <atomic>

namespace lumora::plugins {

class Snowfall final : public ParticleAnimation {
public:
    static constexpr std::uint32_t kMinAmount = 10, kMaxAmount = 1000, kDefaultAmount = 200;
    static constexpr std::uint32_t kMinSpeed = 1, kMaxSpeed = 10, kDefaultSpeed = 5;

    Snowfall();

    bool ShowOptions() override;
    bool IsConfigurable() override { return true; }
    void LoadSettings(HKEY root, const char* path) override;
    void SaveSettings(HKEY root, const char* path) override;

protected:
    std::uint32_t ParticleCount() const override { return amount_.load(); }
    double SpeedScale() const override { return speed_.load() / double(kDefaultSpeed); }
    double Coverage(std::int32_t variant, double u, double v) const override;
    void PaintIcon(QPainter& painter) const override;

private:
    std::atomic<std::uint32_t> amount_{kDefaultAmount};
    std::atomic<std::uint32_t> speed_{kDefaultSpeed};
};

}  // namespace lumora::plugins
