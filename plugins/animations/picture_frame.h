// PictureFrame ("Picture frame"): a gilded moulding around the picture, with mitred
// corners and the light falling from the upper left. The moulding is the picture
// frame.png of the images folder: its length runs along the edge and its top row is the
// outer side. Start fails (the host says so) when the picture cannot be loaded.
//
// The border is about a fifteenth of the frame's shorter side. It is drawn into an
// overlay of the frame's size whenever the size changes; every frame then only copies
// the border rows and columns out of it.
//
// Threads and lifetime as PluginEffect. Stop releases the picture and the overlay.
#pragma once

#include "common/plugin_effect.h"

#include <lumora/bitmap.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace lumora::plugins {

class PictureFrame final : public PluginEffect {
public:
    static constexpr char kPictureName[] = "frame.png";

    PictureFrame();

protected:
    std::int32_t OnStart() override;
    void OnStop() override;
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;

private:
    void BuildOverlay(const FrameView& frame);
    // The moulding's colour `across` pixels in from the outer side and `along` the edge,
    // both in border pixels of a border `thickness` wide.
    const std::uint8_t* MouldingAt(std::int32_t across, std::int32_t along, std::int32_t thickness) const;

    std::unique_ptr<Bitmap> moulding_;
    std::vector<std::uint8_t> overlay_;  // a frame of overlayWidth_ x overlayHeight_
    std::int32_t overlayWidth_ = 0;
    std::int32_t overlayHeight_ = 0;
    std::int32_t thickness_ = 0;
};

}  // namespace lumora::plugins
