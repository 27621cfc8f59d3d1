#include "skins/skin_artist.h"

#include "skins/frame_art.h"
#include "skins/glyph_art.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace lumora {

namespace {

namespace cat = skin_category;

struct KeyState {
    std::string_view base;
    ArtState state;
};

// "close_over" is the over state of "close"; keys without a state suffix are at rest.
KeyState SplitState(std::string_view key) {
    static constexpr std::array<std::pair<std::string_view, ArtState>, 4> kSuffixes = {{
        {"_normal", ArtState::kNormal},
        {"_over", ArtState::kOver},
        {"_pressed", ArtState::kPressed},
        {"_disabled", ArtState::kDisabled},
    }};
    for (const auto& [suffix, state] : kSuffixes) {
        if (key.ends_with(suffix)) return {key.substr(0, key.size() - suffix.size()), state};
    }
    return {key, ArtState::kNormal};
}

void CrossGlyph(QPainter& p, const QRectF& box, const QColor& c, qreal w) {
    GlyphArt::Cross(p, box, c, w);
}
void DashGlyph(QPainter& p, const QRectF& box, const QColor& c, qreal w) {
    GlyphArt::Dash(p, box, c, w);
}
void PlayGlyph(QPainter& p, const QRectF& box, const QColor& c, qreal) {
    GlyphArt::Play(p, box, c);
}
void StopGlyph(QPainter& p, const QRectF& box, const QColor& c, qreal) {
    GlyphArt::Square(p, box, c);
}
void ZoomInGlyph(QPainter& p, const QRectF& box, const QColor& c, qreal w) {
    GlyphArt::Magnifier(p, box, c, w, true);
}
void ZoomOutGlyph(QPainter& p, const QRectF& box, const QColor& c, qreal w) {
    GlyphArt::Magnifier(p, box, c, w, false);
}

QColor ItemColour(const SkinTheme& theme, int category, std::string_view key) {
    return ToQColor(theme.Colour(category, key));
}

}  // namespace

QImage SkinArtist::Draw(const SkinItem& item, qreal ratio) const {
    if (item.kind != SkinItemKind::kBitmap) return {};
    const int category = GetItemCategory(item.id);
    if (category == cat::kPreviewWindow || category == cat::kLightWindow || category == cat::kDarkWindow ||
        category == cat::kTabsWindow) {
        return DrawFramePiece(category, item.key, ratio);
    }
    QImage canvas(std::lround(item.width * ratio), std::lround(item.height * ratio), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(SurfaceOf(category));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const auto [base, state] = SplitState(item.key);
    const QSizeF size(item.width, item.height);
    if (category <= cat::kMenuButtons) {
        PaintMainWindowItem(painter, base, state, size);
    } else if (category <= cat::kSelectEffect) {
        PaintOptionsItem(painter, category, base, state, size);
    } else {
        PaintControlItem(painter, category, base, state, size);
    }
    return canvas;
}

QColor SkinArtist::SurfaceOf(int category) const {
    switch (category) {
        case cat::kPlayback:
        case cat::kZoom:
        case cat::kCheckbox: return ItemColour(theme_, cat::kDarkWindow, "background");
        case cat::kColorFilter:
        case cat::kSelectEffect: return ItemColour(theme_, cat::kLightWindow, "background");
        case cat::kScrollbar: return ItemColour(theme_, cat::kScrollbar, "background");
        case cat::kSlider: return ItemColour(theme_, cat::kSlider, "background");
        default: return theme_.art.texture;
    }
}

QImage SkinArtist::DrawFramePiece(int category, std::string_view key, qreal ratio) const {
    const QColor tabsWindow = ItemColour(theme_, cat::kTabsWindow, "background");
    switch (category) {
        case cat::kPreviewWindow:
            return FrameArt(theme_.art, theme_.art.texture, theme_.art.bezel)
                .Piece(FrameArt::Kind::kPreview, key, ratio);
        case cat::kTabsWindow:
            return FrameArt(theme_.art, theme_.art.texture, tabsWindow).Piece(FrameArt::Kind::kTabs, key, ratio);
        default:
            // The option panels stand on the tabs window's pages.
            return FrameArt(theme_.art, tabsWindow, ItemColour(theme_, category, "background"))
                .Piece(FrameArt::Kind::kPanel, key, ratio);
    }
}

void SkinArtist::PaintMainWindowItem(QPainter& p, std::string_view base, ArtState state, QSizeF size) const {
    if (base == "caption") return Caption(p, size);
    if (base == "background") return;  // the plain texture colour
    if (base == "close") return WindowButton(p, size, state, CrossGlyph, ButtonArt::Style::kDanger);
    if (base == "minimize") return WindowButton(p, size, state, DashGlyph, ButtonArt::Style::kGhost);
    if (size.height() > size.width()) return OptionsHandle(p, size, state);  // the tall "options"
    if (base == "file") return MenuButton(p, size, state, "File");
    if (base == "source") return MenuButton(p, size, state, "Video source");
    if (base == "options") return MenuButton(p, size, state, "Options");
    if (base == "skin") return MenuButton(p, size, state, "Skin");
}

void SkinArtist::PaintOptionsItem(QPainter& p, int category, std::string_view base, ArtState state, QSizeF size) const {
    if (category == cat::kPlayback) return PanelButton(p, size, state, base == "start" ? PlayGlyph : StopGlyph);
    if (base == "red") return ChannelIcon(p, size, QColor(214, 64, 60), "R");
    if (base == "green") return ChannelIcon(p, size, QColor(52, 150, 72), "G");
    if (base == "blue") return ChannelIcon(p, size, QColor(44, 104, 208), "B");
    if (base == "default") return TextButton(p, size, state, "Default");
    if (base == "zoom_in") return PanelButton(p, size, state, ZoomInGlyph);
    if (base == "zoom_out") return PanelButton(p, size, state, ZoomOutGlyph);
    if (base == "zoom_100") return TextButton(p, size, state, "100%");
    if (base == "start") return TextButton(p, size, state, "Start / Stop");
    if (base == "options") return TextButton(p, size, state, "Options");
}

void SkinArtist::PaintControlItem(QPainter& p, int category, std::string_view base, ArtState state, QSizeF size) const {
    if (category == cat::kTabs) {
        return Tab(p, size, base.starts_with("0") ? "Filters" : "Effects", base.ends_with("_active"));
    }
    if (base == "thumb") return Thumb(p, size, category == cat::kSlider);
    if (base == "up" || base == "down") return ArrowButton(p, size, state, base == "up");
    if (base == "on" || base == "off") return CheckBox(p, size, state, base == "on");
}

void SkinArtist::Caption(QPainter& p, QSizeF size) const {
    // A lens: an accent ring around a dot, then the program's name.
    const qreal mid = size.height() / 2;
    const QColor accent = theme_.art.accent;
    p.setPen(QPen(accent, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, mid), 7.5, 7.5);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(QPointF(12, mid), 3, 3);
    ButtonArt::Label(p, QRectF(25, 0, 80, size.height()), "Lumora", theme_.art.text, 15, true);
}

void SkinArtist::WindowButton(QPainter& p, QSizeF size, ArtState state, Glyph glyph, ButtonArt::Style style) const {
    const QRectF box(QPointF(0, 0), size);
    const QRectF face = box.adjusted(1, 1, -1, -1);
    const QColor content = buttons_.Face(p, face, face.width() / 2, state, style);
    glyph(p, box, content, std::max(1.5, buttons_.Line() * 1.2));
}

void SkinArtist::OptionsHandle(QPainter& p, QSizeF size, ArtState state) const {
    const QRectF box(QPointF(0, 0), size);
    const QColor content = buttons_.Face(p, box, 4, state, ButtonArt::Style::kSolid);
    GlyphArt::Chevron(p, QRectF(0, 3, size.width(), 10), GlyphArt::Direction::kRight, content, 1.5);
    GlyphArt::Chevron(p, QRectF(0, size.height() - 13, size.width(), 10), GlyphArt::Direction::kRight, content, 1.5);
    // The label reads from top to bottom, turned a quarter clockwise.
    p.save();
    p.translate(size.width(), 0);
    p.rotate(90);
    ButtonArt::Label(p, QRectF(14, 0, size.height() - 28, size.width()), "Options", content, 9, false);
    p.restore();
}

void SkinArtist::MenuButton(QPainter& p, QSizeF size, ArtState state, const QString& text) const {
    const QRectF box(QPointF(0, 0), size);
    const QColor content = buttons_.Face(p, box, size.height() / 2, state, ButtonArt::Style::kGhost);
    ButtonArt::Label(p, box.adjusted(2, 0, -2, 0), text, content, 10, state == ArtState::kPressed);
}

void SkinArtist::PanelButton(QPainter& p, QSizeF size, ArtState state, Glyph glyph) const {
    const QRectF box(QPointF(0, 0), size);
    const QColor content = buttons_.Face(p, box, 4, state, ButtonArt::Style::kSolid);
    glyph(p, box, content, std::max(1.4, buttons_.Line()));
}

void SkinArtist::TextButton(QPainter& p, QSizeF size, ArtState state, const QString& text) const {
    const QRectF box(QPointF(0, 0), size);
    const QColor content = buttons_.Face(p, box, 4, state, ButtonArt::Style::kSolid);
    ButtonArt::Label(p, box.adjusted(3, 0, -3, 0), text, content, 10, theme_.art.lineWidth > 1);
}

void SkinArtist::ChannelIcon(QPainter& p, QSizeF size, const QColor& colour, const QString& letter) const {
    const QRectF disc = QRectF(QPointF(0, 0), size).adjusted(2, 2, -2, -2);
    p.setPen(theme_.art.lineWidth > 1 ? QPen(theme_.art.text, 1.5) : QPen(Qt::NoPen));
    p.setBrush(colour);
    p.drawEllipse(disc);
    ButtonArt::Label(p, disc, letter, Qt::white, 10, true);
}

void SkinArtist::Tab(QPainter& p, QSizeF size, const QString& text, bool active) const {
    const SkinTheme::Art& art = theme_.art;
    const QColor page = ItemColour(theme_, cat::kTabsWindow, "background");
    const QColor face = active ? page : art.tabFace;
    // A folder tab one pixel narrower than its place, so neighbours stand apart; its last
    // row lies on the window frame's top line, which only the active tab opens.
    const qreal w = size.width() - 1;
    const qreal h = size.height();
    QPainterPath shape;
    shape.moveTo(0.5, h);
    shape.lineTo(0.5, 4.5);
    shape.quadTo(0.5, 0.5, 4.5, 0.5);
    shape.lineTo(w - 4.5, 0.5);
    shape.quadTo(w - 0.5, 0.5, w - 0.5, 4.5);
    shape.lineTo(w - 0.5, h);
    p.setPen(QPen(art.frameLine, 1));
    p.setBrush(face);
    p.drawPath(shape);
    // The last row is the frame's top line, which the active tab opens between its sides.
    p.fillRect(QRectF(0, h - 1, size.width(), 1), art.frameLine);
    if (active) {
        p.fillRect(QRectF(1, h - 1, w - 2, 1), face);
        p.setPen(Qt::NoPen);
        p.setBrush(art.accent);
        p.drawRoundedRect(QRectF(1.5, 1.5, w - 3, 2.5), 1.2, 1.2);
    }
    ButtonArt::Label(p, QRectF(2, 2, w - 4, h - 4), text, active ? art.text : GlyphArt::Mix(art.text, face, 0.3), 10,
                     active);
}

void SkinArtist::ArrowButton(QPainter& p, QSizeF size, ArtState state, bool up) const {
    const QRectF box(QPointF(0, 0), size);
    const QColor content = buttons_.Face(p, box, 2, state, ButtonArt::Style::kSolid);
    GlyphArt::Chevron(p, box, up ? GlyphArt::Direction::kUp : GlyphArt::Direction::kDown, content, 1.4);
}

void SkinArtist::Thumb(QPainter& p, QSizeF size, bool round) const {
    const QRectF box = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(theme_.art.accent.darker(125), 1));
    p.setBrush(theme_.art.accent);
    const qreal radius = round ? box.width() / 2 : 2.5;
    p.drawRoundedRect(box, radius, radius);
}

void SkinArtist::CheckBox(QPainter& p, QSizeF size, ArtState state, bool checked) const {
    const SkinTheme::Art& art = theme_.art;
    const QRectF box(QPointF(0, 0), size);
    if (!checked) {
        buttons_.Face(p, box, 2.5, state, ButtonArt::Style::kSolid);
        return;
    }
    QColor fill = art.accent;
    if (state == ArtState::kOver) fill = GlyphArt::Mix(art.accent, art.text, 0.18);
    if (state == ArtState::kPressed) fill = art.accent.darker(130);
    if (state == ArtState::kDisabled) fill = GlyphArt::Mix(art.mutedText, art.disabledFace, 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(box, 2.5, 2.5);
    GlyphArt::Check(p, box, state == ArtState::kDisabled ? art.disabledFace : art.onAccent, 1.6);
}

}  // namespace lumora
