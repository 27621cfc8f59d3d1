#include "filters/mirror_filter.h"

#include <QPainter>

#include <cstring>
#include <utility>

namespace lumora::plugins {

namespace {

std::uint32_t Load(const std::uint8_t* p) noexcept {
    std::uint32_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

void Store(std::uint8_t* p, std::uint32_t word) noexcept { std::memcpy(p, &word, sizeof word); }

// Four pixels (twelve bytes, three little-endian words) in the opposite order. With the
// bytes a..l in, the words out are j k l g, h i d e, f a b c.
struct FourPixels {
    std::uint32_t words[3];

    static FourPixels Reversed(const std::uint8_t* p) noexcept {
        const std::uint32_t w0 = Load(p), w1 = Load(p + 4), w2 = Load(p + 8);
        return {{(w2 >> 8) | ((w1 << 8) & 0xFF000000u),
                 (w1 >> 24) | ((w2 & 0xFFu) << 8) | ((w0 >> 24) << 16) | ((w1 & 0xFFu) << 24),
                 ((w1 >> 8) & 0xFFu) | (w0 << 8)}};
    }
    void StoreAt(std::uint8_t* p) const noexcept {
        for (int i = 0; i < 3; ++i) Store(p + 4 * i, words[i]);
    }
};

void MirrorRow(std::uint8_t* row, std::int32_t width) noexcept {
    std::uint8_t* left = row;
    std::uint8_t* right = row + static_cast<std::size_t>(width) * 3;  // just past the right group
    // Four pixels from each end at a time while the two groups do not meet...
    while (right - left >= 24) {
        right -= 12;
        const FourPixels fromLeft = FourPixels::Reversed(left);
        FourPixels::Reversed(right).StoreAt(left);
        fromLeft.StoreAt(right);
        left += 12;
    }
    // ...then one pixel from each end.
    for (right -= 3; left < right; left += 3, right -= 3) {
        std::swap(left[0], right[0]);
        std::swap(left[1], right[1]);
        std::swap(left[2], right[2]);
    }
}

}  // namespace

MirrorFilter::MirrorFilter() : PluginEffect("Mirror", "57CE9DAD-2076-4F14-B5B2-5A41850237AE", kLayerFilter) {}

void MirrorFilter::Render(const FrameView& frame, double) {
    for (std::int32_t y = 0; y < frame.height; ++y) MirrorRow(frame.Row(y), frame.width);
}

void MirrorFilter::PaintIcon(QPainter& painter) const {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 170, 240));
    painter.drawPolygon(QPolygonF({QPointF(14, 6), QPointF(14, 26), QPointF(4, 26)}));
    painter.setBrush(QColor(90, 170, 240, 140));
    painter.drawPolygon(QPolygonF({QPointF(18, 6), QPointF(18, 26), QPointF(28, 26)}));
    painter.setPen(QPen(QColor(230, 230, 230), 1, Qt::DashLine));
    painter.drawLine(QPointF(16, 3), QPointF(16, 29));
}

}  // namespace lumora::plugins
