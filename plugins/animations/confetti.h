// Confetti: small paper pieces in bright colours tumble down the picture; each turns over
// as it falls (one of sixteen shapes, chosen by its turn at that moment).
// Threads and lifetime as ParticleAnimation.
#pragma once

#include "animations/particle_animation.h"

namespace lumora::plugins {

class Confetti final : public ParticleAnimation {
public:
    Confetti();

protected:
    std::uint32_t ParticleCount() const override { return 160; }
    double Coverage(std::int32_t variant, double u, double v) const override;
    void PaintIcon(QPainter& painter) const override;
};

}  // namespace lumora::plugins
