// TabStripPainter: draws each tab of a skinned tab strip, its active picture for the
// current tab and its normal picture otherwise, stretched into its place when the sizes
// differ. Stateless; paints on any QPainter.
#pragma once

#include "skins/skin_drawing.h"
#include "skins/tab_strip_model.h"

class QPainter;

namespace lumora {

class TabStripPainter {
public:
    // With the focus, the current tab is outlined inside its edges.
    static void Paint(QPainter& painter, const TabStripModel& model, const FocusOutline& focus = std::nullopt);
};

}  // namespace lumora
