#include "skins/check_box_painter.h"

#include "skins/check_box_model.h"
#include "skins/glyph_art.h"
#include "skins/skin_drawing.h"

#include <QPainter>

namespace lumora {

namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

}  // namespace

void CheckBoxPainter::Paint(QPainter& painter, const QRect& client, const QString& label, const Look& look,
                            bool enabled, const FocusOutline& focus) {
    FillSkinRect(painter, client, look.background);
    painter.setFont(CreateSkinFont(*painter.device(), look.font));
    QColor text = ToQColor(look.text);
    if (!enabled && look.background != NoColour) text = GlyphArt::Mix(text, ToQColor(look.background), 0.5);
    painter.setPen(text);
    painter.drawText(CheckBoxModel::LabelRect(client), kTextFlags, label);
    if (focus) {
        const QRect text = painter.fontMetrics().boundingRect(CheckBoxModel::LabelRect(client), kTextFlags, label);
        FrameRect(painter, text.adjusted(-2, -1, 2, 1) & client, *focus);
    }
}

}  // namespace lumora
