#include "options/options_panel.h"

#include "skins/apply_skin_event.h"
#include "skins/skin_drawing.h"

#include <QPainter>

namespace lumora {

OptionsPanel::OptionsPanel(Frame frame, const QString& className, QWidget* parent) : QWidget(parent), frame_(frame) {
    setObjectName(className);
}

void OptionsPanel::ApplySkin(const Skin& skin) {
    pieces_ = frame_ == Frame::kDark ? skin.darkWindow : skin.lightWindow;
    SkinControls(skin);
    update();
}

bool OptionsPanel::event(QEvent* event) {
    if (const Skin* skin = ApplySkinEvent::SkinOf(event)) {
        ApplySkin(*skin);
        return true;
    }
    return QWidget::event(event);
}

void OptionsPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawFramePieces(painter, rect(), pieces_, kFramePiece, kFramePiece, kFramePiece, kFramePiece);
    PaintContents(painter);
}

}  // namespace lumora
