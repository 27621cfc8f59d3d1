// ThumbnailPainter: draws a ThumbnailLayout's placed cells: a white client; per cell a light
// grey background with a grey frame when selected, else white; a one-pixel frame just
// outside the picture area (grey when selected, light grey otherwise); the picture at its
// own size centred in that area, or the area black without one; and the label centred and
// word-wrapped below it in `textColour`.
//
// Stateless; any thread may paint into its own QPainter (a QImage off the display thread).
#pragma once

#include "tools/thumbnail_layout.h"

#include <QColor>
#include <QPainter>

namespace lumora {

class ThumbnailPainter {
public:
    static void Paint(QPainter& painter, const ThumbnailLayout& layout, QSize client, const QColor& textColour);

private:
    static void PaintCell(QPainter& painter, const ThumbnailLayout& layout, const ThumbnailLayout::Cell& cell,
                          const QColor& textColour);
};

}  // namespace lumora
