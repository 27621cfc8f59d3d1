// SepiaFilter ("Sepia"): the picture in the warm brown tones of an old photograph: each
// pixel's luma mapped onto a line from dark brown to cream. Threads and lifetime as
// PluginEffect; no state.
#pragma once

#include "common/plugin_effect.h"

namespace lumora::plugins {

class SepiaFilter final : public PluginEffect {
public:
    SepiaFilter();

protected:
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;
};

}  // namespace lumora::plugins
