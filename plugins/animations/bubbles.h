// Bubbles: clear soap bubbles with a bright rim and a highlight rise slowly from the
// bottom of the picture, wobbling from side to side.
// Threads and lifetime as ParticleAnimation.
#pragma once

#include "animations/particle_animation.h"

namespace lumora::plugins {

class Bubbles final : public ParticleAnimation {
public:
    Bubbles();

protected:
    std::uint32_t ParticleCount() const override { return 28; }
    double Coverage(std::int32_t variant, double u, double v) const override;
    void PaintIcon(QPainter& painter) const override;
};

}  // namespace lumora::plugins
