// VignetteFilter ("Vignette"): the picture darkens gently towards its corners, as
// through an old lens. The darkening depends on the distance from the centre measured
// in half widths and half heights, so it follows the frame's shape; the middle stays as
// it is and the corners keep about a third of their brightness.
//
// Threads and lifetime as PluginEffect. A gain for every byte of the frame is worked out
// when the frame size changes (allocating only then), so a frame is one multiplication
// per byte; Stop releases the gains.
#pragma once

#include "common/plugin_effect.h"

#include <cstdint>
#include <vector>

namespace lumora::plugins {

class VignetteFilter final : public PluginEffect {
public:
    VignetteFilter();

protected:
    void OnStop() override;
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;

private:
    void MeasureGains(const FrameView& frame);

    std::vector<std::uint8_t> gains_;  // a frame's bytes; g keeps (g + 1) / 256 of a byte
    std::int32_t gainsWidth_ = 0;
    std::int32_t gainsHeight_ = 0;
};

}  // namespace lumora::plugins
