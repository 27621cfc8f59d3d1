// CheckBoxPainter: draws a skinned check box's label window: its background and the
// label in the skin's font and colour, one line, vertically centred, left aligned in
// CheckBoxModel::LabelRect. The box is a ParvelButton of its own. A disabled label is
// drawn half-way to the background. Stateless; paints on any QPainter.
#pragma once

#include "skins/skin_colour.h"
#include "skins/skin_drawing.h"
#include "skins/skin_font.h"

#include <QRect>
#include <QString>

class QPainter;

namespace lumora {

class CheckBoxPainter {
public:
    struct Look {
        SkinFont font;
        SkinColour text = 0;
        SkinColour background = 0;
    };

    // With the focus, the label's text is outlined.
    static void Paint(QPainter& painter, const QRect& client, const QString& label, const Look& look, bool enabled,
                      const FocusOutline& focus = std::nullopt);
};

}  // namespace lumora
