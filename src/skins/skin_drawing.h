// The drawing operations all skinned chrome is painted with. They draw on any QPainter
// (a widget, or a QImage with no display at all) in logical pixels; pictures made for a
// device pixel ratio above 1 are drawn at their logical size, so the painter's device
// gets their full sharpness. None of them keeps or deletes the picture it is given, and
// given no picture they draw nothing. Opaque pictures replace what is under them;
// pictures with transparency are drawn over it.
//
// User-interface thread, or any thread painting on its own QImage.
#pragma once

#include "skins/skin_colour.h"
#include "skins/skin_groups.h"

#include <QColor>
#include <QRect>
#include <QRegion>

#include <optional>

class QImage;
class QPainter;
class QWidget;

namespace lumora {

// The size a picture covers when drawn at its own size: its logical size, rounded.
QSize PictureSize(const QImage& picture);

// The picture at its own size with its top-left corner at (x, y).
void DrawBitmapAt(QPainter& painter, int x, int y, const QImage* bitmap);

// The picture over `rect`: copied when it has the rectangle's size, stretched otherwise.
void DrawBitmapInRect(QPainter& painter, const QRect& rect, const QImage* bitmap);

// The picture over `rect` as DrawBitmapInRect does, or, without a picture, `colour`
// filled in its place (thumbs without a picture, list tiles without one).
void DrawBitmapOrFill(QPainter& painter, const QRect& rect, const QImage* bitmap, SkinColour colour);

// A skinned frame in `rect`: the background colour (unless NoColour), edges tiled every
// edge width / height (the last tile moved back to end flush with the far side), then the
// corners that exist. Every piece is drawn at its own size.
void DrawFramePieces(QPainter& painter, const QRect& rect, const FramePieces& pieces, int edgeWidth, int edgeHeight,
                     int cornerWidth, int cornerHeight);

// The preview window's frame around `video`: top and bottom pieces every 14 pixels from
// its left edge, left and right pieces every 19 from its top (the last of each moved back
// to end flush with the video), the corners outside its corners. Pieces at their own size.
void DrawPreviewFrame(QPainter& painter, const QRect& video, const FramePieces& pieces);

// The texture tiled every 54 pixels from the top-left of `client`, clipped to
// `windowRegion` (the client rectangle when the region is empty), then the region's
// outline (or the rectangle's) one pixel wide in `border` (skipped for NoColour).
void FillTexturedWindow(QPainter& painter, const QRect& client, const QRegion& windowRegion, const QImage* texture,
                        SkinColour border);
// The same for a widget: its rectangle and its mask.
void FillTexturedWindow(QPainter& painter, const QWidget& window, const QImage* texture, SkinColour border);

// A rounded rectangle of `size` with 16 x 16 corner ellipses.
QRegion RoundedWindowRegion(const QSize& size);
// Masks the window to RoundedWindowRegion of its size and repaints it.
void SetRoundedWindowRegion(QWidget& window);

// Fills `rect` with `colour`; NoColour fills nothing.
void FillSkinRect(QPainter& painter, const QRect& rect, SkinColour colour);
// A one-pixel frame just inside `rect` in `colour`; NoColour draws nothing.
void FrameSkinRect(QPainter& painter, const QRect& rect, SkinColour colour);

// A one-pixel frame just inside `rect` in a Qt colour.
void FrameRect(QPainter& painter, const QRect& rect, const QColor& colour);

// The colour of a control's keyboard focus outline while it has the focus (the desktop's
// highlight colour), nothing otherwise. The control painters draw it.
using FocusOutline = std::optional<QColor>;
FocusOutline FocusOutlineOf(const QWidget& control);

}  // namespace lumora
