// ParticleAnimation: the base of the animations made of many small shapes that fall or
// rise across the picture (snow, hearts, bubbles, confetti).
//
// A derived class gives the motion (a DriftStyle), the palette, the shape of each variant
// as a coverage function, and how many particles to draw. Masks of every size class and
// variant are sampled when the frame height changes (the only time Render allocates) and
// released by Stop. Particles move with the stream time through a StreamClock, which
// Reset forgets.
//
// Threads and lifetime as PluginEffect: the hooks run under the effect's lock. Count and
// speed are read once per frame and may come from atomics that a dialog changes.
#pragma once

#include "common/alpha_mask.h"
#include "common/drift_motion.h"
#include "common/plugin_effect.h"
#include "common/stream_clock.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace lumora::plugins {

class ParticleAnimation : public PluginEffect {
protected:
    ParticleAnimation(const char* displayName, const char* identifier, const DriftStyle& style,
                      std::initializer_list<Bgr> palette);

    // Particles to draw in this frame, and the factor on their speeds.
    virtual std::uint32_t ParticleCount() const = 0;
    virtual double SpeedScale() const { return 1.0; }
    // Coverage (0 to 1) of `variant` at (u, v) of the unit square, v upwards (see AlphaMask).
    virtual double Coverage(std::int32_t variant, double u, double v) const = 0;

    void OnStop() override;
    void OnReset() override { clock_.Forget(); }
    void Render(const FrameView& frame, double time) override;

private:
    void BuildMasks(std::int32_t height);
    const AlphaMask& MaskOf(const Placement& place) const;

    DriftMotion motion_;
    std::vector<Bgr> palette_;
    StreamClock clock_;
    std::vector<AlphaMask> masks_;  // size class major, then variant
    std::int32_t maskHeight_ = 0;   // frame height the masks were made for; 0 for none
};

}  // namespace lumora::plugins
