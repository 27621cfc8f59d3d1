#include "filters/blur_filter.h"

#include "filters/row_sums.h"

#include <lumora/zimage.h>

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace lumora::plugins {

namespace {

constexpr std::int32_t kBlock = 8;  // the block the smallest picture's pixels stand for
constexpr std::int32_t kSidesPerRadius = 60;  // radius = shorter side of the smallest picture / this
constexpr std::int32_t kMaxRadius = 12;

// A picture of half the size (rounded up) in `pixels`.
FrameView Halved(const FrameView& picture, std::vector<std::uint8_t>& pixels) {
    const std::int32_t width = (picture.width + 1) / 2;
    const std::int32_t height = (picture.height + 1) / 2;
    pixels.assign(ZImage_CalcImageSize(width, height, 24), 0);
    return FrameView::Of(pixels.data(), width, height);
}

// Scales `from` into `to`; between pictures of one size (tiny frames have levels of their
// own size) it copies the pixels and leaves the frame's row padding as it is.
void Resize(const FrameView& to, const FrameView& from) {
    ZImage_Resize(to.pixels, to.width, to.height, from.pixels, from.width, from.height);
}

inline std::uint8_t Mean(std::uint32_t sum, std::uint32_t scale) noexcept {
    return static_cast<std::uint8_t>((sum * scale + 32768u) >> 16);
}

}  // namespace

BlurFilter::BlurFilter() : PluginEffect("Soft focus", "55784881-D208-4121-9856-CB6265A7F4BA", kLayerFilter) {}

void BlurFilter::OnStop() {
    levels_ = {};
    levelViews_ = {};
    between_ = {};
    columnSums_ = {};
    blockSums_ = {};
    frameWidth_ = frameHeight_ = 0;
}

void BlurFilter::Allocate(const FrameView& frame) {
    for (std::size_t i = 0; i < kHalvings; ++i) levelViews_[i] = Halved(i ? levelViews_[i - 1] : frame, levels_[i]);
    const FrameView& smallest = levelViews_.back();
    between_.assign(levels_.back().size(), 0);
    columnSums_.assign(smallest.RowBytes(), 0);
    blockSums_.assign(frame.RowBytes(), 0);
    radius_ = std::clamp(std::min(smallest.width, smallest.height) / kSidesPerRadius, 1, kMaxRadius);
    const auto window = static_cast<std::uint32_t>(2 * radius_ + 1);
    scale_ = (65536u + window - 1) / window;
    frameWidth_ = frame.width;
    frameHeight_ = frame.height;
}

void BlurFilter::Shrink(const FrameView& frame) {
    const FrameView& small = levelViews_.back();
    const std::size_t bytes = frame.RowBytes();
    for (std::int32_t band = 0; band < small.height; ++band) {
        const std::int32_t bottom = band * kBlock;
        const std::int32_t top = std::min(bottom + kBlock, frame.height);
        StartRowSums(blockSums_.data(), frame.Row(bottom), bytes);
        for (std::int32_t y = bottom + 1; y < top; ++y) AddRowTo(blockSums_.data(), frame.Row(y), bytes);
        StoreBlockMeans(small.Row(band), frame.width, static_cast<std::uint32_t>(top - bottom));
    }
}

void BlurFilter::StoreBlockMeans(std::uint8_t* out, std::int32_t width, std::uint32_t rows) {
    static_assert(kBlock == 1 << kHalvings, "the smallest picture is the last halving");
    std::uint16_t* sums = blockSums_.data();
    const std::int32_t wholeBlocks = width / kBlock;
    const std::size_t wholeBytes = static_cast<std::size_t>(wholeBlocks) * kBlock * 3;
    // Whole blocks: the sums folded to one per block and channel; a band of whole rows
    // divides by a shift.
    for (std::size_t step = 3; step < std::size_t{kBlock} * 3; step *= 2) FoldSums(sums, wholeBytes, step);
    const std::uint32_t count = kBlock * rows;
    for (std::int32_t x = 0; x < wholeBlocks; ++x) {
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t sum = sums[static_cast<std::size_t>(x) * kBlock * 3 + c];
            out[3 * x + c] = static_cast<std::uint8_t>(rows == kBlock ? (sum + count / 2) >> (2 * kHalvings)
                                                                      : (sum + count / 2) / count);
        }
    }
    // The block cut by the right edge, from its own sums, which the folding left alone.
    const auto columns = static_cast<std::uint32_t>(width - wholeBlocks * kBlock);
    if (columns == 0) return;
    for (int c = 0; c < 3; ++c) {
        std::uint32_t sum = 0;
        for (std::size_t i = wholeBytes + c; i < static_cast<std::size_t>(width) * 3; i += 3) sum += sums[i];
        out[3 * wholeBlocks + c] = static_cast<std::uint8_t>((sum + columns * rows / 2) / (columns * rows));
    }
}

void BlurFilter::BlurColumns(const FrameView& small) {
    const std::size_t bytes = small.RowBytes();
    std::uint32_t* sums = columnSums_.data();
    // The window around row 0: row 0 counted for the rows below the picture too.
    for (std::size_t i = 0; i < bytes; ++i) sums[i] = small.Row(0)[i] * static_cast<std::uint32_t>(radius_ + 1);
    for (std::int32_t k = 1; k <= radius_; ++k) {
        const std::uint8_t* row = small.Row(std::min(k, small.height - 1));
        for (std::size_t i = 0; i < bytes; ++i) sums[i] += row[i];
    }
    for (std::int32_t y = 0; y < small.height; ++y) {
        std::uint8_t* out = between_.data() + static_cast<std::size_t>(y) * small.stride;
        for (std::size_t i = 0; i < bytes; ++i) out[i] = Mean(sums[i], scale_);
        const std::uint8_t* entering = small.Row(std::min(y + radius_ + 1, small.height - 1));
        const std::uint8_t* leaving = small.Row(std::max(y - radius_, 0));
        for (std::size_t i = 0; i < bytes; ++i) sums[i] += entering[i] - leaving[i];
    }
}

void BlurFilter::BlurRows(const FrameView& small) {
    const std::int32_t last = small.width - 1;
    for (std::int32_t y = 0; y < small.height; ++y) {
        const std::uint8_t* in = between_.data() + static_cast<std::size_t>(y) * small.stride;
        std::uint8_t* out = small.Row(y);
        std::uint32_t sum[3];
        for (int c = 0; c < 3; ++c) {
            sum[c] = in[c] * static_cast<std::uint32_t>(radius_ + 1);
            for (std::int32_t k = 1; k <= radius_; ++k) sum[c] += in[3 * std::min(k, last) + c];
        }
        for (std::int32_t x = 0; x <= last; ++x) {
            const std::uint8_t* entering = in + 3 * std::min(x + radius_ + 1, last);
            const std::uint8_t* leaving = in + 3 * std::max(x - radius_, 0);
            for (int c = 0; c < 3; ++c) {
                out[3 * x + c] = Mean(sum[c], scale_);
                sum[c] += entering[c] - leaving[c];
            }
        }
    }
}

void BlurFilter::Render(const FrameView& frame, double) {
    if (frame.width != frameWidth_ || frame.height != frameHeight_) Allocate(frame);
    Shrink(frame);
    BlurColumns(levelViews_.back());
    BlurRows(levelViews_.back());
    for (std::size_t i = kHalvings - 1; i > 0; --i) Resize(levelViews_[i - 1], levelViews_[i]);
    Resize(frame, levelViews_.front());
}

void BlurFilter::PaintIcon(QPainter& painter) const {
    QRadialGradient glow(QPointF(16, 16), 13);
    glow.setColorAt(0, QColor(250, 210, 120));
    glow.setColorAt(0.5, QColor(230, 140, 90, 200));
    glow.setColorAt(1, QColor(42, 46, 54, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(16, 16), 14, 14);
}

}  // namespace lumora::plugins
