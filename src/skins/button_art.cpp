#include "skins/button_art.h"

#include "skins/glyph_art.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

namespace lumora {

QColor ButtonArt::Face(QPainter& painter, const QRectF& rect, qreal radius, ArtState state, Style style) const {
    const bool solid = style == Style::kSolid;
    switch (state) {
        case ArtState::kNormal:
            if (solid) Fill(painter, rect, radius, art_.face, art_.faceBorder);
            return art_.text;
        case ArtState::kOver:
            if (style == Style::kDanger) {
                Fill(painter, rect, radius, art_.danger, art_.danger);
                return QColor(Qt::white);
            }
            Fill(painter, rect, radius, art_.hoverFace, solid ? art_.accent : art_.hoverFace);
            return art_.text;
        case ArtState::kPressed: {
            const QColor face = style == Style::kDanger ? art_.danger.darker(125) : art_.accent;
            Fill(painter, rect, radius, face, face);
            return style == Style::kDanger ? QColor(Qt::white) : art_.onAccent;
        }
        case ArtState::kDisabled:
            if (solid)
                Fill(painter, rect, radius, art_.disabledFace, GlyphArt::Mix(art_.faceBorder, art_.disabledFace, 0.5));
            return art_.mutedText;
    }
    return art_.text;
}

void ButtonArt::Fill(QPainter& painter, const QRectF& rect, qreal radius, const QColor& face,
                     const QColor& border) const {
    const qreal line = art_.lineWidth;
    const QRectF inside = rect.adjusted(line / 2, line / 2, -line / 2, -line / 2);
    painter.setPen(QPen(border, line));
    painter.setBrush(face);
    painter.drawRoundedRect(inside, std::max(0.0, radius - line / 2), std::max(0.0, radius - line / 2));
}

void ButtonArt::Label(QPainter& painter, const QRectF& rect, const QString& text, const QColor& colour, int pixelSize,
                      bool bold) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Narrower first, then smaller: small labels stay legible.
    for (int stretch : {QFont::Unstretched, QFont::SemiCondensed, QFont::Condensed}) {
        font.setStretch(stretch);
        if (QFontMetricsF(font).horizontalAdvance(text) <= rect.width()) break;
    }
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > rect.width()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

}  // namespace lumora
