#include "filters/pixelate_filter.h"

#include "common/options_form.h"
#include "common/registry_setting.h"
#include "filters/row_sums.h"

#include <QPainter>
#include <QSpinBox>

#include <algorithm>
#include <cstring>

namespace lumora::plugins {

namespace {

// Up to kMaxBlock rows of 255 fit the 16-bit sums.
static_assert(PixelateFilter::kMaxBlock * 255 <= 0xFFFF);

}  // namespace

PixelateFilter::PixelateFilter() : PluginEffect("Pixelate", "5AB12F92-5837-4974-BAD7-5EC531340114", kLayerFilter) {}

void PixelateFilter::OnStop() {
    columnSums_ = {};
    sumsWidth_ = 0;
}

void PixelateFilter::RenderBand(const FrameView& frame, std::int32_t bottom, std::int32_t top, std::int32_t block) {
    const std::size_t bytes = frame.RowBytes();
    std::uint16_t* sums = columnSums_.data();
    StartRowSums(sums, frame.Row(bottom), bytes);
    for (std::int32_t y = bottom + 1; y < top; ++y) AddRowTo(sums, frame.Row(y), bytes);
    // The band's bottom row gets the blocks' means, the other rows copy it.
    std::uint8_t* first = frame.Row(bottom);
    for (std::int32_t left = 0; left < frame.width; left += block) {
        const std::int32_t right = std::min(left + block, frame.width);
        const auto count = static_cast<std::uint32_t>((right - left) * (top - bottom));
        for (int c = 0; c < 3; ++c) {
            std::uint32_t sum = 0;
            for (std::int32_t x = left; x < right; ++x) sum += sums[3 * x + c];
            const auto mean = static_cast<std::uint8_t>((sum + count / 2) / count);
            for (std::int32_t x = left; x < right; ++x) first[3 * x + c] = mean;
        }
    }
    for (std::int32_t y = bottom + 1; y < top; ++y) std::memcpy(frame.Row(y), first, bytes);
}

void PixelateFilter::Render(const FrameView& frame, double) {
    if (sumsWidth_ != frame.width) {
        columnSums_.assign(frame.RowBytes(), 0);
        sumsWidth_ = frame.width;
    }
    const auto block = static_cast<std::int32_t>(std::clamp(blockSize_.load(), kMinBlock, kMaxBlock));
    for (std::int32_t bottom = 0; bottom < frame.height; bottom += block) {
        RenderBand(frame, bottom, std::min(bottom + block, frame.height), block);
    }
}

bool PixelateFilter::ShowOptions() {
    OptionsForm form(ownerWindow, "Pixelate");
    QSpinBox* size = form.AddNumber("Block size (pixels):", kMinBlock, kMaxBlock, blockSize_.load());
    if (!form.Run()) return false;
    blockSize_.store(static_cast<std::uint32_t>(size->value()));
    return true;
}

void PixelateFilter::LoadSettings(HKEY root, const char* path) {
    LoadBoundedSetting(root, path, "BlockSize", kMinBlock, kMaxBlock, blockSize_);
}

void PixelateFilter::SaveSettings(HKEY root, const char* path) {
    WriteRegDword(root, path, "BlockSize", blockSize_.load());
}

void PixelateFilter::PaintIcon(QPainter& painter) const {
    const QColor colours[] = {{220, 90, 80}, {240, 180, 70}, {90, 180, 110}, {70, 130, 220}};
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            painter.setBrush(colours[(row + column * 3) % 4]);
            painter.drawRect(4 + column * 6, 4 + row * 6, 6, 6);
        }
    }
}

}  // namespace lumora::plugins
