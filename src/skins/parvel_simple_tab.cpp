#include "skins/parvel_simple_tab.h"

#include "skins/parvel_accessible.h"
#include "skins/parvel_codes.h"
#include "skins/skin_drawing.h"
#include "skins/tab_strip_painter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lumora {

ParvelSimpleTab::ParvelSimpleTab(int childId, int tabWidth, int tabHeight, QWidget* parent)
    : QWidget(parent), childId_(childId), model_(tabWidth, tabHeight) {
    InstallParvelAccessibility();
    setObjectName(QString::number(childId));
    setFocusPolicy(Qt::TabFocus);
    resize(model_.StripSize());
}

void ParvelSimpleTab::ClearTabs() {
    model_.ClearTabs();
    resize(model_.StripSize());
    update();
}

void ParvelSimpleTab::AddTab(const QImage* normal, const QImage* active, const QString& name) {
    model_.AddTab({normal, active, name});
    resize(model_.StripSize());
    update();
}

QString ParvelSimpleTab::AccessibleValue() const {
    const int current = model_.GetCurrent();
    return current < model_.Count() ? model_.Tabs()[static_cast<std::size_t>(current)].name : QString();
}

void ParvelSimpleTab::UserSelect(int index) {
    if (!model_.Select(index)) return;
    update();
    emit notified(childId_, parvel::kTabSelectionChanged);
}

void ParvelSimpleTab::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TabStripPainter::Paint(painter, model_, FocusOutlineOf(*this));
}

void ParvelSimpleTab::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    UserSelect(model_.HitTest(static_cast<int>(event->position().x())));
}

void ParvelSimpleTab::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left: return UserSelect(model_.GetCurrent() - 1);
        case Qt::Key_Right: return UserSelect(model_.GetCurrent() + 1);
        default: QWidget::keyPressEvent(event);
    }
}

}  // namespace lumora
