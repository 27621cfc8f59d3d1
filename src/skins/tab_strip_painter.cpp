#include "skins/tab_strip_painter.h"

#include "skins/skin_drawing.h"

namespace lumora {

void TabStripPainter::Paint(QPainter& painter, const TabStripModel& model, const FocusOutline& focus) {
    for (int i = 0; i < model.Count(); ++i) {
        const TabStripModel::Tab& tab = model.Tabs()[static_cast<std::size_t>(i)];
        DrawBitmapInRect(painter, model.TabRect(i), i == model.GetCurrent() ? tab.active : tab.normal);
    }
    if (focus && model.GetCurrent() < model.Count()) {
        FrameRect(painter, model.TabRect(model.GetCurrent()).adjusted(2, 2, -2, -2), *focus);
    }
}

}  // namespace lumora
