#include "animations/glyph_atlas.h"

#include "common/qt_bitmap.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumora::plugins {

namespace {

constexpr int kMasterPixels = 80;  // font size of the masters
constexpr std::size_t kCharacterCount = sizeof GlyphAtlas::kCharacters - 1;

}  // namespace

void GlyphAtlas::Draw() {
    if (drawn()) return;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(kMasterPixels);
    font.setBold(true);
    const QFontMetrics metrics(font);
    int width = 1;
    for (std::size_t i = 0; i < kCharacterCount; ++i) {
        width = std::max(width, metrics.horizontalAdvance(QChar(kCharacters[i])));
    }
    const int height = std::max(1, metrics.height());
    masters_.reserve(kCharacterCount);
    for (std::size_t i = 0; i < kCharacterCount; ++i) {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, QString(QChar(kCharacters[i])));
        painter.end();
        masters_.push_back(AlphaMaskFromImage(image));
    }
}

void GlyphAtlas::Clear() {
    masters_ = {};
    scaled_ = {};
    cellWidth_ = cellHeight_ = 0;
}

void GlyphAtlas::ScaleTo(std::int32_t height) {
    if (!drawn() || height < 1 || height == cellHeight_) return;
    const AlphaMask& sample = masters_.front();
    const std::int32_t width =
        std::max<std::int32_t>(1, std::lround(double(sample.width()) * height / sample.height()));
    scaled_.resize(masters_.size());
    for (std::size_t i = 0; i < masters_.size(); ++i) scaled_[i].ResampleFrom(masters_[i], width, height);
    cellWidth_ = width;
    cellHeight_ = height;
}

const AlphaMask* GlyphAtlas::Glyph(char c) const noexcept {
    if (scaled_.empty() || c == '\0') return nullptr;
    const char* found = std::strchr(kCharacters, c);
    return found ? &scaled_[static_cast<std::size_t>(found - kCharacters)] : nullptr;
}

}  // namespace lumora::plugins
