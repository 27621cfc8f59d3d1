#include "skins/parvel_check_box.h"

#include "skins/apply_skin_event.h"
#include "skins/parvel_accessible.h"
#include "skins/parvel_codes.h"
#include "skins/skin_drawing.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

namespace lumora {

ParvelCheckBox::ParvelCheckBox(int childId, const QString& label, QWidget* parent)
    : QWidget(parent), childId_(childId), label_(label), box_(parvel::kCheckBoxBoxId, this) {
    InstallParvelAccessibility();
    setObjectName(QString::number(childId));
    setAccessibleName(label);
    setFocusPolicy(Qt::TabFocus);
    // The check box takes the focus; its box is only clicked.
    box_.setFocusPolicy(Qt::NoFocus);
    box_.SetText(label);
    box_.setGeometry(QRect(CheckBoxModel::BoxPosition(height()), QSize(12, 12)));
    connect(&box_, &ParvelButton::notified, this, [this](int id, int code) {
        if (id == parvel::kCheckBoxBoxId && code == parvel::kClicked) Toggle();
    });
}

void ParvelCheckBox::SetCheck(bool checked) {
    model_.SetChecked(checked);
    ShowState();
}

void ParvelCheckBox::ApplySkin(const Skin& skin) {
    look_ = {skin.zoom.font, skin.zoom.textColour, skin.darkWindow.background};
    checked_ = skin.checkBox.checked;
    unchecked_ = skin.checkBox.unchecked;
    ShowState();
}

void ParvelCheckBox::ShowState() {
    box_.SetBitmaps(model_.Checked() ? checked_ : unchecked_);
    box_.update();
    update();
}

void ParvelCheckBox::Toggle() {
    model_.Toggle();
    ShowState();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent accessible(this, changed);
    QAccessible::updateAccessibility(&accessible);
    emit notified(childId_, parvel::kClicked);
}

QAccessible::State ParvelCheckBox::AccessibleState() const {
    QAccessible::State state;
    state.checkable = true;
    state.checked = model_.Checked();
    return state;
}

bool ParvelCheckBox::event(QEvent* event) {
    if (const Skin* skin = ApplySkinEvent::SkinOf(event)) {
        ApplySkin(*skin);
        return true;
    }
    return QWidget::event(event);
}

void ParvelCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CheckBoxPainter::Paint(painter, rect(), label_, look_, isEnabled(), FocusOutlineOf(*this));
}

void ParvelCheckBox::resizeEvent(QResizeEvent* event) {
    box_.move(CheckBoxModel::BoxPosition(height()));
    QWidget::resizeEvent(event);
}

void ParvelCheckBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) return Toggle();
    QWidget::keyPressEvent(event);
}

}  // namespace lumora
