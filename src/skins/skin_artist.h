// SkinArtist: draws the pictures of a skin of Lumora's own, the built-in "Default" and
// the skins shipped beside the program, from a SkinTheme. Every picture is drawn in code
// at the item's size for a device pixel ratio, so a ratio of 2 gets pictures with twice
// the pixels rather than enlarged ones. Pictures are opaque: each is painted on the
// colour of the surface it sits on (the window texture, a panel, a track), as every
// skin's pictures are copied over what is under them.
//
// Borrows the theme for its lifetime. Stateless otherwise; user-interface thread (text
// needs the Qt application's fonts).
#pragma once

#include "skins/button_art.h"
#include "skins/skin_item_table.h"
#include "skins/skin_theme.h"

#include <QImage>
#include <QSizeF>

#include <string_view>

class QPainter;

namespace lumora {

class SkinArtist {
public:
    explicit SkinArtist(const SkinTheme& theme) : theme_(theme), buttons_(theme.art) {}

    // The picture of a bitmap item at `ratio`; null for colour and font items.
    QImage Draw(const SkinItem& item, qreal ratio) const;

private:
    using Glyph = void (*)(QPainter&, const QRectF&, const QColor&, qreal weight);

    QColor SurfaceOf(int category) const;
    QImage DrawFramePiece(int category, std::string_view key, qreal ratio) const;
    void PaintMainWindowItem(QPainter& p, std::string_view base, ArtState state, QSizeF size) const;
    void PaintOptionsItem(QPainter& p, int category, std::string_view base, ArtState state, QSizeF size) const;
    void PaintControlItem(QPainter& p, int category, std::string_view base, ArtState state, QSizeF size) const;

    void Caption(QPainter& p, QSizeF size) const;
    void WindowButton(QPainter& p, QSizeF size, ArtState state, Glyph glyph, ButtonArt::Style style) const;
    void OptionsHandle(QPainter& p, QSizeF size, ArtState state) const;
    void MenuButton(QPainter& p, QSizeF size, ArtState state, const QString& text) const;
    void PanelButton(QPainter& p, QSizeF size, ArtState state, Glyph glyph) const;
    void TextButton(QPainter& p, QSizeF size, ArtState state, const QString& text) const;
    void ChannelIcon(QPainter& p, QSizeF size, const QColor& colour, const QString& letter) const;
    void Tab(QPainter& p, QSizeF size, const QString& text, bool active) const;
    void ArrowButton(QPainter& p, QSizeF size, ArtState state, bool up) const;
    void Thumb(QPainter& p, QSizeF size, bool round) const;
    void CheckBox(QPainter& p, QSizeF size, ArtState state, bool checked) const;

    const SkinTheme& theme_;
    ButtonArt buttons_;
};

}  // namespace lumora
