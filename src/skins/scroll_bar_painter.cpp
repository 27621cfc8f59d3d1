#include "skins/scroll_bar_painter.h"

#include "skins/skin_drawing.h"

#include <QPainter>

namespace lumora {

void ScrollBarPainter::Paint(QPainter& painter, QSize size, const ScrollBarModel& model, const ScrollBarSkin& skin) {
    const QRect track = ScrollBarModel::Track(size);
    FillSkinRect(painter, track, skin.background);
    FrameSkinRect(painter, track, skin.border);
    DrawBitmapOrFill(painter, model.ThumbRect(size), skin.thumb, skin.thumbColour);
}

}  // namespace lumora
