#include "skins/parvel_scroll_bar.h"

#include "skins/parvel_accessible.h"
#include "skins/parvel_codes.h"
#include "skins/scroll_bar_painter.h"
#include "skins/wheel_steps.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumora {

ParvelScrollBar::ParvelScrollBar(int childId, QWidget* parent)
    : QWidget(parent), childId_(childId), up_(parvel::kScrollUpId, this), down_(parvel::kScrollDownId, this) {
    InstallParvelAccessibility();
    setObjectName(QString::number(childId));
    skin_.border = SkinRgb(206, 206, 206);
    skin_.background = SkinRgb(255, 255, 255);
    skin_.thumbColour = SkinRgb(149, 204, 207);
    for (ParvelButton* arrow : {&up_, &down_}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->resize(ScrollBarModel::kArrowSize, ScrollBarModel::kArrowSize);
        connect(arrow, &ParvelButton::notified, this, [this](int id, int code) {
            if (code == parvel::kClicked) UserMoved(model_.Step(id == parvel::kScrollUpId ? -1 : 1));
        });
    }
    up_.SetText(tr("Up"));
    down_.SetText(tr("Down"));
    resize(ScrollBarModel::kBarWidth, height());
}

void ParvelScrollBar::SetRange(int minimum, int maximum) {
    model_.SetRange(minimum, maximum);
    update();
}

void ParvelScrollBar::SetPosition(int position) {
    if (model_.SetPosition(position)) update();
}

void ParvelScrollBar::ApplySkin(const Skin& skin) {
    skin_ = skin.scrollBar;
    up_.SetBitmaps(skin_.up);
    down_.SetBitmaps(skin_.down);
    up_.update();
    down_.update();
    update();
}

void ParvelScrollBar::UserMoved(bool changed) {
    if (!changed) return;
    update();
    QAccessibleValueChangeEvent accessible(this, model_.Position());
    QAccessible::updateAccessibility(&accessible);
    emit scrolled(model_.Position());
}

std::optional<AccessibleControl::Range> ParvelScrollBar::AccessibleRange() const {
    return Range{model_.Minimum(), model_.Maximum(), model_.Position()};
}

void ParvelScrollBar::AccessibleSetValue(int value) {
    UserMoved(model_.SetPosition(value));
}

void ParvelScrollBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ScrollBarPainter::Paint(painter, size(), model_, skin_);
}

void ParvelScrollBar::resizeEvent(QResizeEvent* event) {
    up_.move(0, 0);
    down_.move(0, height() - ScrollBarModel::kArrowSize);
    QWidget::resizeEvent(event);
}

void ParvelScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    model_.Press(event->position().toPoint(), size());
}

void ParvelScrollBar::mouseMoveEvent(QMouseEvent* event) {
    UserMoved(model_.Drag(event->position().toPoint().y(), size()));
}

void ParvelScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) model_.Release();
}

void ParvelScrollBar::wheelEvent(QWheelEvent* event) {
    // Wheel up scrolls towards the top.
    StepByUser(-WheelSteps(event, wheelRemainder_));
}

}  // namespace lumora
