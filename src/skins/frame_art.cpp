#include "skins/frame_art.h"

#include <QPainter>

#include <cmath>

namespace lumora {

FrameArt::Layout FrameArt::LayoutOf(Kind kind) {
    switch (kind) {
        case Kind::kPreview: return {19, 14, 14, 19};
        case Kind::kPanel: return {6, 6, 6, 6};
        case Kind::kTabs: return {10, 10, 10, 10};
    }
    return {6, 6, 6, 6};
}

QRect FrameArt::PieceRect(const Layout& l, std::string_view key) {
    const int middleX = l.corner_w;
    const int rightX = l.corner_w + l.edge_w;
    const int middleY = l.corner_h;
    const int bottomY = l.corner_h + l.edge_h;
    if (key == "topleft") return {0, 0, l.corner_w, l.corner_h};
    if (key == "top") return {middleX, 0, l.edge_w, l.corner_h};
    if (key == "topright") return {rightX, 0, l.corner_w, l.corner_h};
    if (key == "left") return {0, middleY, l.corner_w, l.edge_h};
    if (key == "right") return {rightX, middleY, l.corner_w, l.edge_h};
    if (key == "bottomleft") return {0, bottomY, l.corner_w, l.corner_h};
    if (key == "bottom") return {middleX, bottomY, l.edge_w, l.corner_h};
    if (key == "bottomright") return {rightX, bottomY, l.corner_w, l.corner_h};
    return {};
}

QImage FrameArt::Piece(Kind kind, std::string_view key, qreal ratio) const {
    const Layout layout = LayoutOf(kind);
    const QRect piece = PieceRect(layout, key);
    if (piece.isEmpty()) return {};
    const QSize model = layout.Model();
    QImage canvas(std::lround(model.width() * ratio), std::lround(model.height() * ratio), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(outside_);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintModel(painter, kind, layout);
    }
    const QRect pixels(std::lround(piece.x() * ratio), std::lround(piece.y() * ratio),
                       std::lround(piece.width() * ratio), std::lround(piece.height() * ratio));
    QImage result = canvas.copy(pixels);
    result.setDevicePixelRatio(ratio);
    return result;
}

void FrameArt::PaintModel(QPainter& painter, Kind kind, const Layout& layout) const {
    const QSizeF model = layout.Model();
    switch (kind) {
        case Kind::kPreview: {
            // A 6-pixel bezel hugging the video, which fills the model's middle.
            const qreal band = 6;
            const QRectF bezel(layout.corner_w - band, layout.corner_h - band, layout.edge_w + 2 * band,
                               layout.edge_h + 2 * band);
            painter.setPen(Qt::NoPen);
            painter.setBrush(art_.bezel);
            painter.drawRoundedRect(bezel, 7, 7);
            break;
        }
        case Kind::kPanel: {
            const QRectF panel(0.5, 0.5, model.width() - 1, model.height() - 1);
            painter.setPen(QPen(art_.frameLine, 1));
            painter.setBrush(inside_);
            painter.drawRoundedRect(panel, 4.5, 4.5);
            break;
        }
        case Kind::kTabs: {
            // The first tab stands on the top-left corner; the top line runs three pixels
            // below the frame's top, where the tabs end.
            const QRectF window(0.5, 2.5, model.width() - 1, model.height() - 3);
            painter.setPen(QPen(art_.frameLine, 1));
            painter.setBrush(inside_);
            painter.drawRoundedRect(window, 5.5, 5.5);
            break;
        }
    }
}

}  // namespace lumora
