// GreyFilter ("Black and white"): every pixel becomes its luma (Rec. 601 weights), so
// the three channels are equal. Threads and lifetime as PluginEffect; no state.
#pragma once

#include "common/plugin_effect.h"

namespace lumora::plugins {

class GreyFilter final : public PluginEffect {
public:
    GreyFilter();

protected:
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;
};

}  // namespace lumora::plugins
