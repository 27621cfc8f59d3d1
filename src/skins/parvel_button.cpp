#include "skins/parvel_button.h"

#include "skins/button_painter.h"
#include "skins/parvel_accessible.h"
#include "skins/parvel_codes.h"
#include "skins/skin_drawing.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lumora {

ParvelButton::ParvelButton(int childId, QWidget* parent) : QWidget(parent), childId_(childId) {
    InstallParvelAccessibility();
    setObjectName(QString::number(childId));
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    hoverTimer_.setInterval(kHoverCheckMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &ParvelButton::HoverTick);
}

bool ParvelButton::CursorInside() const {
    return rect().contains(mapFromGlobal(QCursor::pos()));
}

void ParvelButton::Follow(bool repaint) {
    if (model_.HoverTimerRunning() && !hoverTimer_.isActive()) hoverTimer_.start();
    if (!model_.HoverTimerRunning() && hoverTimer_.isActive()) hoverTimer_.stop();
    if (repaint) update();
}

void ParvelButton::Click() {
    emit notified(childId_, parvel::kClicked);
}

void ParvelButton::HoverTick() {
    Follow(model_.HoverTick(CursorInside()));
}

void ParvelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ButtonPainter::Paint(painter, rect(), bitmaps_, model_.FaceFor(isEnabled()), FocusOutlineOf(*this));
}

void ParvelButton::mouseMoveEvent(QMouseEvent* event) {
    Follow(model_.MouseMove(rect().contains(event->position().toPoint())));
}

void ParvelButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    Follow(model_.Press(rect().contains(event->position().toPoint())));
}

void ParvelButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const ButtonModel::Release release = model_.ReleaseAt(rect().contains(event->position().toPoint()));
    Follow(release.repaint);
    if (release.clicked) Click();
}

void ParvelButton::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat() && event->key() == Qt::Key_Space) return;
    switch (event->key()) {
        case Qt::Key_Space: Follow(model_.KeyPress()); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: Click(); return;
        default: QWidget::keyPressEvent(event);
    }
}

void ParvelButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) return QWidget::keyReleaseEvent(event);
    const ButtonModel::Release release = model_.KeyRelease();
    Follow(release.repaint);
    if (release.clicked) Click();
}

void ParvelButton::focusOutEvent(QFocusEvent* event) {
    // A Space held while the focus moves on is no click.
    Follow(model_.DropKeyPress());
    QWidget::focusOutEvent(event);
}

void ParvelButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) model_.Cancel();
        Follow(true);
    }
    QWidget::changeEvent(event);
}

void ParvelButton::leaveEvent(QEvent* event) {
    Follow(model_.HoverTick(false));
    QWidget::leaveEvent(event);
}

void ParvelButton::hideEvent(QHideEvent* event) {
    Follow(model_.Cancel());
    QWidget::hideEvent(event);
}

}  // namespace lumora
