// ScrollBarPainter: draws a skinned scroll bar's track (filled with the background
// colour, framed with the border colour) and its thumb (the thumb picture stretched into
// the thumb's square, or the thumb colour without one). The arrows are buttons of their
// own. Stateless; paints on any QPainter.
#pragma once

#include "skins/scroll_bar_model.h"
#include "skins/skin_groups.h"

#include <QSize>

class QPainter;

namespace lumora {

class ScrollBarPainter {
public:
    static void Paint(QPainter& painter, QSize size, const ScrollBarModel& model, const ScrollBarSkin& skin);
};

}  // namespace lumora
