#include "skins/slider_painter.h"

#include "skins/skin_drawing.h"

#include <QPainter>

namespace lumora {

void SliderPainter::Paint(QPainter& painter, QSize size, const SliderModel& model, const SliderSkin& skin,
                          const FocusOutline& focus) {
    const QRect all(QPoint(0, 0), size);
    FillSkinRect(painter, all, skin.background);
    if (focus) {
        FrameRect(painter, all, *focus);
    } else {
        FrameSkinRect(painter, all, skin.border);
    }
    const QRect ruler = SliderModel::Ruler(size);
    const int rulerRight = ruler.left() + ruler.width();  // the first x past the ruler
    const int rulerBottom = ruler.top() + ruler.height();
    for (int x = ruler.left(); x < rulerRight; x += 3)
        FillSkinRect(painter, QRect(x, rulerBottom - 1, 1, 1), skin.marks);
    // Ticks from the ruler's top down to, not including, two rows above its bottom.
    for (int x : model.Ticks(size)) FillSkinRect(painter, QRect(x, ruler.top(), 1, ruler.height() - 2), skin.marks);
    DrawBitmapOrFill(painter, model.ThumbRect(size), skin.thumb, skin.thumbColour);
}

}  // namespace lumora
