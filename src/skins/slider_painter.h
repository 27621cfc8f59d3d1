// SliderPainter: draws a skinned slider: the background framed by the border colour, a
// dotted base line (every third pixel) on the ruler's last row and the tick marks in the
// marks colour, then the thumb (its picture stretched into the thumb square, or the
// thumb colour without one). Stateless; paints on any QPainter.
#pragma once

#include "skins/skin_drawing.h"
#include "skins/skin_groups.h"
#include "skins/slider_model.h"

#include <QSize>

class QPainter;

namespace lumora {

class SliderPainter {
public:
    // With the focus, the outline takes the place of the border.
    static void Paint(QPainter& painter, QSize size, const SliderModel& model, const SliderSkin& skin,
                      const FocusOutline& focus = std::nullopt);
};

}  // namespace lumora
