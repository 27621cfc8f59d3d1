#include "skins/parvel_slider.h"

#include "skins/apply_skin_event.h"
#include "skins/parvel_accessible.h"
#include "skins/skin_drawing.h"
#include "skins/slider_painter.h"
#include "skins/wheel_steps.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace lumora {

ParvelSlider::ParvelSlider(QWidget* parent) : QWidget(parent) {
    InstallParvelAccessibility();
    setFocusPolicy(Qt::TabFocus);
    skin_.border = SkinRgb(206, 206, 206);
    skin_.background = SkinRgb(255, 255, 255);
    skin_.marks = SkinRgb(132, 132, 132);
    skin_.thumbColour = SkinRgb(149, 204, 207);
    resize(width(), SliderModel::kHeight);
}

void ParvelSlider::SetRange(int minimum, int maximum) {
    model_.SetRange(minimum, maximum);
    update();
}

void ParvelSlider::SetPosition(int position) {
    if (model_.SetPosition(position)) update();
}

void ParvelSlider::ApplySkin(const Skin& skin) {
    skin_ = skin.slider;
    update();
}

void ParvelSlider::UserMoved(bool changed) {
    if (!changed) return;
    update();
    QAccessibleValueChangeEvent accessible(this, model_.Position());
    QAccessible::updateAccessibility(&accessible);
    emit scrolled(model_.Position());
}

int ParvelSlider::PageStep() const {
    return static_cast<int>(std::max<std::int64_t>(1, (std::int64_t{model_.Maximum()} - model_.Minimum()) / 10));
}

std::optional<AccessibleControl::Range> ParvelSlider::AccessibleRange() const {
    return Range{model_.Minimum(), model_.Maximum(), model_.Position()};
}

bool ParvelSlider::event(QEvent* event) {
    if (const Skin* skin = ApplySkinEvent::SkinOf(event)) {
        ApplySkin(*skin);
        return true;
    }
    return QWidget::event(event);
}

void ParvelSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    SliderPainter::Paint(painter, size(), model_, skin_, FocusOutlineOf(*this));
}

void ParvelSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    UserMoved(model_.Press(event->position().toPoint(), size()).moved);
}

void ParvelSlider::mouseMoveEvent(QMouseEvent* event) {
    UserMoved(model_.Drag(event->position().toPoint().x(), size()));
}

void ParvelSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) model_.Release();
}

void ParvelSlider::wheelEvent(QWheelEvent* event) {
    UserMoved(model_.Step(WheelSteps(event, wheelRemainder_)));
}

void ParvelSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down: return UserMoved(model_.Step(-1));
        case Qt::Key_Right:
        case Qt::Key_Up: return UserMoved(model_.Step(1));
        case Qt::Key_PageDown: return UserMoved(model_.Step(-PageStep()));
        case Qt::Key_PageUp: return UserMoved(model_.Step(PageStep()));
        case Qt::Key_Home: return UserMoved(model_.SetPosition(model_.Minimum()));
        case Qt::Key_End: return UserMoved(model_.SetPosition(model_.Maximum()));
        default: QWidget::keyPressEvent(event);
    }
}

}  // namespace lumora
