#include "options/options_page.h"

#include "skins/apply_skin_event.h"
#include "skins/skin_drawing.h"

#include <QPainter>

namespace lumora {

OptionsPage::OptionsPage(const QString& className, QWidget* parent) : QWidget(parent) { setObjectName(className); }

void OptionsPage::ApplySkin(const Skin& skin) {
    background_ = skin.tabsWindow.background;
    for (OptionsPanel* panel : panels_) panel->ApplySkin(skin);
    update();
}

bool OptionsPage::event(QEvent* event) {
    if (const Skin* skin = ApplySkinEvent::SkinOf(event)) {
        ApplySkin(*skin);
        return true;
    }
    return QWidget::event(event);
}

void OptionsPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FillSkinRect(painter, rect(), background_);
}

}  // namespace lumora
