// Hearts: red and pink hearts of four sizes rise from the bottom of the picture, swaying.
// Threads and lifetime as ParticleAnimation.
#pragma once

#include "animations/particle_animation.h"

namespace lumora::plugins {

class Hearts final : public ParticleAnimation {
public:
    Hearts();

protected:
    std::uint32_t ParticleCount() const override { return 36; }
    double Coverage(std::int32_t variant, double u, double v) const override;
    void PaintIcon(QPainter& painter) const override;
};

}  // namespace lumora::plugins
