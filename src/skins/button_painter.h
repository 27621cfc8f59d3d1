// ButtonPainter: draws a skinned button: the picture of its face stretched over its
// rectangle (copied when the sizes agree), and the focus outline along its edge.
// Stateless; paints on any QPainter.
#pragma once

#include "skins/button_model.h"
#include "skins/skin_drawing.h"
#include "skins/skin_groups.h"

#include <QRect>

class QPainter;

namespace lumora {

class ButtonPainter {
public:
    static void Paint(QPainter& painter, const QRect& rect, const ButtonBitmaps& bitmaps, ButtonModel::Face face,
                      const FocusOutline& focus = std::nullopt);
    // The picture of a face; null when the group has none.
    static const QImage* PictureFor(const ButtonBitmaps& bitmaps, ButtonModel::Face face);
};

}  // namespace lumora
