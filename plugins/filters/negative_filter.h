// NegativeFilter ("Negative"): every channel becomes 255 minus itself, like a film
// negative; applying it twice gives the picture back. Threads and lifetime as
// PluginEffect; no state.
#pragma once

#include "common/plugin_effect.h"

namespace lumora::plugins {

class NegativeFilter final : public PluginEffect {
public:
    NegativeFilter();

protected:
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;
};

}  // namespace lumora::plugins
