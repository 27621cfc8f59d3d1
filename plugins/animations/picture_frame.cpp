#include "animations/picture_frame.h"

#include <lumora/zimage.h>

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace lumora::plugins {

namespace {

// The moulding's width as a part of the frame's shorter side.
constexpr double kThickness = 0.065;

// Light on each edge, in 256ths: upper left lit, lower right in shade.
enum Edge { kBottom, kTop, kLeft, kRight };
constexpr std::uint32_t kEdgeLight[] = {190, 275, 256, 215};

}  // namespace

PictureFrame::PictureFrame() : PluginEffect("Picture frame", "6B779E31-3398-4AAC-A3E3-31B25D42468F", kLayerAnimation) {}

std::int32_t PictureFrame::OnStart() {
    if (moulding_) return kEffectStarted;
    if (!imagesFolder) return kEffectFailed;
    moulding_ = ZImage_LoadImageToBitmap((std::string(imagesFolder) + kPictureName).c_str(), nullptr);
    return moulding_ ? kEffectStarted : kEffectFailed;
}

void PictureFrame::OnStop() {
    moulding_.reset();
    overlay_ = {};
    overlayWidth_ = overlayHeight_ = thickness_ = 0;
}

const std::uint8_t* PictureFrame::MouldingAt(std::int32_t across, std::int32_t along, std::int32_t thickness) const {
    // The picture keeps its proportions: its height is scaled to the border's width.
    const std::int32_t height = moulding_->height();
    const std::int64_t row = std::min<std::int64_t>(height - 1, std::int64_t{across} * height / thickness);
    const std::int64_t column = std::int64_t{along} * height / thickness % moulding_->width();
    return moulding_->row(height - 1 - static_cast<std::int32_t>(row)) + column * 3;
}

void PictureFrame::BuildOverlay(const FrameView& frame) {
    overlay_.assign(static_cast<std::size_t>(frame.stride) * frame.height, 0);
    overlayWidth_ = frame.width;
    overlayHeight_ = frame.height;
    thickness_ = std::max<std::int32_t>(1, std::lround(std::min(frame.width, frame.height) * kThickness));
    for (std::int32_t y = 0; y < frame.height; ++y) {
        std::uint8_t* row = overlay_.data() + static_cast<std::size_t>(y) * frame.stride;
        for (std::int32_t x = 0; x < frame.width; ++x) {
            // The nearest edge owns the pixel, which mitres the corners.
            const std::int32_t distances[] = {y, frame.height - 1 - y, x, frame.width - 1 - x};
            const auto nearest = std::min_element(std::begin(distances), std::end(distances)) - distances;
            const std::int32_t across = distances[nearest];
            if (across >= thickness_) continue;
            const std::int32_t along = nearest == kBottom || nearest == kTop ? x : y;
            const std::uint8_t* colour = MouldingAt(across, along, thickness_);
            for (int c = 0; c < 3; ++c) {
                row[3 * x + c] = static_cast<std::uint8_t>(std::min(255u, colour[c] * kEdgeLight[nearest] >> 8));
            }
        }
    }
}

void PictureFrame::Render(const FrameView& frame, double) {
    if (!moulding_) return;
    if (frame.width != overlayWidth_ || frame.height != overlayHeight_) BuildOverlay(frame);
    const std::size_t side = static_cast<std::size_t>(std::min(thickness_, frame.width)) * 3;
    for (std::int32_t y = 0; y < frame.height; ++y) {
        std::uint8_t* to = frame.Row(y);
        const std::uint8_t* from = overlay_.data() + static_cast<std::size_t>(y) * frame.stride;
        if (y < thickness_ || y >= frame.height - thickness_) {
            std::memcpy(to, from, frame.RowBytes());
        } else {
            std::memcpy(to, from, side);
            std::memcpy(to + frame.RowBytes() - side, from + frame.RowBytes() - side, side);
        }
    }
}

void PictureFrame::PaintIcon(QPainter& painter) const {
    QLinearGradient gold(0, 0, 32, 32);
    gold.setColorAt(0, QColor(250, 220, 120));
    gold.setColorAt(1, QColor(150, 100, 30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gold);
    painter.drawRect(3, 3, 26, 26);
    painter.setBrush(QColor(120, 170, 220));
    painter.drawRect(8, 8, 16, 16);
}

}  // namespace lumora::plugins
