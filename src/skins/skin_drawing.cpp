#include "skins/skin_drawing.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumora {

namespace {

constexpr int kTextureTile = 54;
constexpr int kCornerEllipse = 16;
constexpr int kPreviewEdge = 14;    // the top and bottom pieces' width and height
constexpr int kPreviewCorner = 19;  // the left and right pieces' width and height

// The pixels of `region` that have a neighbour outside it: its one-pixel outline.
QRegion Outline(const QRegion& region) {
    const QRegion inner = region & region.translated(1, 0) & region.translated(-1, 0) & region.translated(0, 1) &
                          region.translated(0, -1);
    return region - inner;
}

}  // namespace

QSize PictureSize(const QImage& picture) {
    const QSizeF size = picture.deviceIndependentSize();
    return {static_cast<int>(std::lround(size.width())), static_cast<int>(std::lround(size.height()))};
}

void DrawBitmapAt(QPainter& painter, int x, int y, const QImage* bitmap) {
    if (!bitmap || bitmap->isNull()) return;
    painter.drawImage(QRect(QPoint(x, y), PictureSize(*bitmap)), *bitmap);
}

void DrawBitmapInRect(QPainter& painter, const QRect& rect, const QImage* bitmap) {
    if (!bitmap || bitmap->isNull() || rect.isEmpty()) return;
    if (PictureSize(*bitmap) == rect.size()) {
        painter.drawImage(rect, *bitmap);
        return;
    }
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(rect, *bitmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void DrawBitmapOrFill(QPainter& painter, const QRect& rect, const QImage* bitmap, SkinColour colour) {
    if (bitmap && !bitmap->isNull()) {
        DrawBitmapInRect(painter, rect, bitmap);
    } else {
        FillSkinRect(painter, rect, colour);
    }
}

void DrawFramePieces(QPainter& painter, const QRect& rect, const FramePieces& pieces, int edgeWidth, int edgeHeight,
                     int cornerWidth, int cornerHeight) {
    FillSkinRect(painter, rect, pieces.background);
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.right() + 1;
    const int bottom = rect.bottom() + 1;
    // Pieces with no size would never advance.
    if (edgeWidth > 0) {
        for (int x = left; x < right; x += edgeWidth) {
            x = std::min(x, right - edgeWidth);
            DrawBitmapAt(painter, x, top, pieces.top);
            DrawBitmapAt(painter, x, bottom - edgeHeight, pieces.bottom);
        }
    }
    if (edgeHeight > 0) {
        for (int y = top; y < bottom; y += edgeHeight) {
            y = std::min(y, bottom - edgeHeight);
            DrawBitmapAt(painter, left, y, pieces.left);
            DrawBitmapAt(painter, right - edgeWidth, y, pieces.right);
        }
    }
    DrawBitmapAt(painter, left, top, pieces.topLeft);
    DrawBitmapAt(painter, right - cornerWidth, top, pieces.topRight);
    DrawBitmapAt(painter, left, bottom - cornerHeight, pieces.bottomLeft);
    DrawBitmapAt(painter, right - cornerWidth, bottom - cornerHeight, pieces.bottomRight);
}

void DrawPreviewFrame(QPainter& painter, const QRect& video, const FramePieces& pieces) {
    const int left = video.left();
    const int top = video.top();
    const int right = video.right() + 1;
    const int bottom = video.bottom() + 1;
    for (int x = left; x < right; x += kPreviewEdge) {
        x = std::min(x, right - kPreviewEdge);
        DrawBitmapAt(painter, x, top - kPreviewEdge, pieces.top);
        DrawBitmapAt(painter, x, bottom, pieces.bottom);
    }
    for (int y = top; y < bottom; y += kPreviewCorner) {
        y = std::min(y, bottom - kPreviewCorner);
        DrawBitmapAt(painter, left - kPreviewCorner, y, pieces.left);
        DrawBitmapAt(painter, right, y, pieces.right);
    }
    DrawBitmapAt(painter, left - kPreviewCorner, top - kPreviewEdge, pieces.topLeft);
    DrawBitmapAt(painter, right, top - kPreviewEdge, pieces.topRight);
    DrawBitmapAt(painter, left - kPreviewCorner, bottom, pieces.bottomLeft);
    DrawBitmapAt(painter, right, bottom, pieces.bottomRight);
}

void FillTexturedWindow(QPainter& painter, const QRect& client, const QRegion& windowRegion, const QImage* texture,
                        SkinColour border) {
    const QRegion region = windowRegion.isEmpty() ? QRegion(client) : windowRegion;
    if (texture && !texture->isNull()) {
        // Tiles wholly inside the region are copied as they are; only those across its
        // edge are clipped, which is much dearer on a scaled painter.
        std::vector<QPoint> edgeTiles;
        for (int y = client.top(); y <= client.bottom(); y += kTextureTile) {
            for (int x = client.left(); x <= client.right(); x += kTextureTile) {
                const QRect tile(x, y, kTextureTile, kTextureTile);
                if ((QRegion(tile & client) - region).isEmpty()) {
                    DrawBitmapAt(painter, x, y, texture);
                } else if (region.intersects(tile)) {
                    edgeTiles.emplace_back(x, y);
                }
            }
        }
        painter.save();
        painter.setClipRegion(region & client, Qt::IntersectClip);
        for (const QPoint& tile : edgeTiles) DrawBitmapAt(painter, tile.x(), tile.y(), texture);
        painter.restore();
    }
    if (border != NoColour) {
        const QColor colour = ToQColor(border);
        for (const QRect& part : Outline(region)) painter.fillRect(part & client, colour);
    }
}

void FillTexturedWindow(QPainter& painter, const QWidget& window, const QImage* texture, SkinColour border) {
    FillTexturedWindow(painter, window.rect(), window.mask(), texture, border);
}

QRegion RoundedWindowRegion(const QSize& size) {
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0) return {};
    const int ew = std::min(kCornerEllipse, w);
    const int eh = std::min(kCornerEllipse, h);
    QRegion region(ew / 2, 0, w - ew / 2 * 2, h);
    region += QRegion(0, eh / 2, w, h - eh / 2 * 2);
    region += QRegion(0, 0, ew, eh, QRegion::Ellipse);
    region += QRegion(w - ew, 0, ew, eh, QRegion::Ellipse);
    region += QRegion(0, h - eh, ew, eh, QRegion::Ellipse);
    region += QRegion(w - ew, h - eh, ew, eh, QRegion::Ellipse);
    return region;
}

void SetRoundedWindowRegion(QWidget& window) {
    window.setMask(RoundedWindowRegion(window.size()));
    window.update();
}

void FillSkinRect(QPainter& painter, const QRect& rect, SkinColour colour) {
    if (colour != NoColour) painter.fillRect(rect, ToQColor(colour));
}

void FrameSkinRect(QPainter& painter, const QRect& rect, SkinColour colour) {
    if (colour != NoColour) FrameRect(painter, rect, ToQColor(colour));
}

FocusOutline FocusOutlineOf(const QWidget& control) {
    if (!control.hasFocus()) return std::nullopt;
    return control.palette().color(QPalette::Highlight);
}

void FrameRect(QPainter& painter, const QRect& rect, const QColor& colour) {
    if (rect.isEmpty()) return;
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), colour);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), colour);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), colour);
}

}  // namespace lumora
