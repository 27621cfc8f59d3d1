// FrameArt: the built-in frame pieces. Each frame is drawn once as a small model (a
// rounded panel with a corner, an edge and a corner along each side) and the eight
// pieces are cut out of it, so corners and edges always meet without a seam. The pieces
// of one frame are corner width x corner height, edge width x corner height (top and
// bottom) and corner width x edge height (left and right). Borrows the theme for its
// lifetime.
#pragma once

#include "skins/skin_theme.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>

#include <string_view>

namespace lumora {

class FrameArt {
public:
    enum class Kind {
        kPreview,  // the bezel around the video
        kPanel,    // an option panel on the tabs window
        kTabs,     // the tabs window around both pages, its top line level with the tabs' bottom
    };

    FrameArt(const SkinTheme::Art& art, QColor outside, QColor inside)
        : art_(art), outside_(outside), inside_(inside) {}

    // The piece of a frame key ("top", "topleft", ...) at `ratio`; null for another key.
    QImage Piece(Kind kind, std::string_view key, qreal ratio) const;

private:
    struct Layout {
        int corner_w, corner_h, edge_w, edge_h;
        QSize Model() const { return {2 * corner_w + edge_w, 2 * corner_h + edge_h}; }
    };
    static Layout LayoutOf(Kind kind);
    static QRect PieceRect(const Layout& layout, std::string_view key);
    void PaintModel(QPainter& painter, Kind kind, const Layout& layout) const;

    const SkinTheme::Art& art_;
    QColor outside_;  // what lies around the frame
    QColor inside_;   // the panel's own colour
};

}  // namespace lumora
