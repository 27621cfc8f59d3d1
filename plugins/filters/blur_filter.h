// BlurFilter ("Soft focus"): a soft blur some twenty pixels wide at 1280 x 720. The frame
// is shrunk to an eighth of its width and height (each small pixel the mean of an 8 x 8
// block), box-blurred there (running sums down the columns, then along the rows, the
// edges repeating their outermost pixels) and doubled back three times with bilinear
// interpolation. That costs a fraction of a blur of that width at full size, the
// doublings are zimage's fast ones, and they smooth the blocks away. A plain picture
// stays exactly the same.
//
// Threads and lifetime as PluginEffect. The smaller pictures and the column sums are
// allocated when the frame size changes and released by Stop.
#pragma once

#include "common/plugin_effect.h"

#include <array>
#include <cstdint>
#include <vector>

namespace lumora::plugins {

class BlurFilter final : public PluginEffect {
public:
    BlurFilter();

protected:
    void OnStop() override;
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;

private:
    void Allocate(const FrameView& frame);
    // The means of the frame's blocks into the smallest picture.
    void Shrink(const FrameView& frame);
    // The means of one band of blocks `rows` high, from their column sums in blockSums_,
    // into the smallest picture's row `out`.
    void StoreBlockMeans(std::uint8_t* out, std::int32_t width, std::uint32_t rows);
    // Each column of the smallest picture blurred into between_.
    void BlurColumns(const FrameView& small);
    // Each row of between_ blurred back into the smallest picture.
    void BlurRows(const FrameView& small);

    std::int32_t radius_ = 1;
    std::uint32_t scale_ = 0;  // 65536 / window, rounded up
    static constexpr std::size_t kHalvings = 3;

    std::array<std::vector<std::uint8_t>, kHalvings> levels_;  // half, quarter, eighth size
    std::array<FrameView, kHalvings> levelViews_;               // over levels_
    std::vector<std::uint8_t> between_;
    std::vector<std::uint32_t> columnSums_;
    std::vector<std::uint16_t> blockSums_;  // per byte of a frame row, over one band of blocks
    std::int32_t frameWidth_ = 0;
    std::int32_t frameHeight_ = 0;
};

}  // namespace lumora::plugins
