// PixelateFilter ("Pixelate"): the picture as square blocks of their mean colour, like a
// face hidden on television. Configurable: the block size in pixels ("BlockSize", 2 to
// 64, 12 at first), kept between runs. Blocks start at the frame's lower-left corner;
// those at the right and top edges may be cut.
//
// Threads and lifetime as PluginEffect; the block size is an atomic read once per frame.
// The column sums of a band of rows are allocated when the frame width changes (any block
// size fits them, so a new size from the dialog allocates nothing) and released by Stop.
#pragma once

#include "common/plugin_effect.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace lumora::plugins {

class PixelateFilter final : public PluginEffect {
public:
    static constexpr std::uint32_t kMinBlock = 2, kMaxBlock = 64, kDefaultBlock = 12;

    PixelateFilter();

    bool ShowOptions() override;
    bool IsConfigurable() override { return true; }
    void LoadSettings(HKEY root, const char* path) override;
    void SaveSettings(HKEY root, const char* path) override;

protected:
    void OnStop() override;
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;

private:
    // Replaces rows [bottom, top) by their blocks of `block` columns.
    void RenderBand(const FrameView& frame, std::int32_t bottom, std::int32_t top, std::int32_t block);

    std::atomic<std::uint32_t> blockSize_{kDefaultBlock};
    std::vector<std::uint16_t> columnSums_;  // per byte of a row, over the rows of a band
    std::int32_t sumsWidth_ = 0;
};

}  // namespace lumora::plugins
