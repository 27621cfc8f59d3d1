// ButtonArt: the faces of the built-in buttons in their four states, and the labels on
// them. One set of rules for every button of a theme: at rest a light face (or none, for
// the window and menu buttons), under the mouse a tinted face with an accent outline,
// pressed the accent itself, disabled a faint face with muted content. Borrows the theme
// for its lifetime; draws on the caller's painter.
#pragma once

#include "skins/skin_theme.h"

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace lumora {

enum class ArtState { kNormal, kOver, kPressed, kDisabled };

class ButtonArt {
public:
    enum class Style {
        kSolid,   // a face and an outline at rest
        kGhost,   // nothing at rest: just its content on the surface
        kDanger,  // a ghost that turns the warning colour under the mouse (close)
    };

    explicit ButtonArt(const SkinTheme::Art& art) : art_(art) {}

    // Paints the face of a button in `rect` with corners of `radius` (half the smaller
    // side makes a circle or a pill) and answers the colour its content is drawn in.
    QColor Face(QPainter& painter, const QRectF& rect, qreal radius, ArtState state, Style style) const;

    // Outline width in logical pixels.
    qreal Line() const { return art_.lineWidth; }

    // `text` centred in `rect`, in the desktop's sans-serif font of `pixelSize`, made
    // narrower or smaller until it fits.
    static void Label(QPainter& painter, const QRectF& rect, const QString& text, const QColor& colour, int pixelSize,
                      bool bold);

private:
    void Fill(QPainter& painter, const QRectF& rect, qreal radius, const QColor& face, const QColor& border) const;

    const SkinTheme::Art& art_;
};

}  // namespace lumora
