// MirrorFilter ("Mirror"): the picture flipped left to right, as a person sees themself
// in a mirror. Threads and lifetime as PluginEffect; no state.
#pragma once

#include "common/plugin_effect.h"

namespace lumora::plugins {

class MirrorFilter final : public PluginEffect {
public:
    MirrorFilter();

protected:
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;
};

}  // namespace lumora::plugins
