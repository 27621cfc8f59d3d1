#include "skins/button_painter.h"

#include "skins/skin_drawing.h"

#include <QPainter>

namespace lumora {

const QImage* ButtonPainter::PictureFor(const ButtonBitmaps& bitmaps, ButtonModel::Face face) {
    switch (face) {
        case ButtonModel::Face::kNormal: return bitmaps.normal;
        case ButtonModel::Face::kOver: return bitmaps.over;
        case ButtonModel::Face::kPressed: return bitmaps.pressed;
        case ButtonModel::Face::kDisabled: return bitmaps.disabled;
    }
    return nullptr;
}

void ButtonPainter::Paint(QPainter& painter, const QRect& rect, const ButtonBitmaps& bitmaps, ButtonModel::Face face,
                          const FocusOutline& focus) {
    DrawBitmapInRect(painter, rect, PictureFor(bitmaps, face));
    if (focus) FrameRect(painter, rect, *focus);
}

}  // namespace lumora
