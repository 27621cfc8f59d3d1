// CartoonFilter ("Cartoon"): flat colours with dark outlines, like a drawing: every
// channel is reduced to four levels, and pixels where the brightness changes sharply
// (the central differences across and up add up to more than a threshold) become black.
//
// Threads and lifetime as PluginEffect. The brightness plane and the outline row are
// allocated when the frame size changes and released by Stop.
#pragma once

#include "common/plugin_effect.h"

#include <cstdint>
#include <vector>

namespace lumora::plugins {

class CartoonFilter final : public PluginEffect {
public:
    CartoonFilter();

protected:
    void OnStop() override;
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;

private:
    // Outlines and flat colours of row y, from the brightness rows below, at and above it.
    void DrawRow(const FrameView& frame, std::int32_t y);

    std::vector<std::uint8_t> luma_;  // width x height, bottom row first
    std::vector<std::uint8_t> keepPixels_;  // per pixel of a row: 0 on an outline, else 0xFF
    std::vector<std::uint8_t> keepBytes_;   // the same for each byte of the row
    std::int32_t lumaWidth_ = 0;
    std::int32_t lumaHeight_ = 0;
};

}  // namespace lumora::plugins
