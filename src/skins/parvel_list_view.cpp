#include "skins/parvel_list_view.h"

#include "skins/apply_skin_event.h"
#include "skins/list_view_painter.h"
#include "skins/parvel_accessible.h"
#include "skins/parvel_codes.h"
#include "skins/wheel_steps.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumora {

ParvelListView::ParvelListView(int childId, QWidget* parent)
    : QWidget(parent), childId_(childId), scrollBar_(parvel::kListScrollBarId, this) {
    InstallParvelAccessibility();
    setObjectName(QString::number(childId));
    scrollBar_.setGeometry(ListViewModel::ScrollBarRect(size()));
    connect(&scrollBar_, &ParvelScrollBar::scrolled, this, &ParvelListView::Scrolled);
}

int ParvelListView::AddItem(const QImage* bitmap, const QString& caption, std::int32_t value) {
    const int index = model_.AddItem(bitmap, caption, value);
    UpdateTileSize();
    update();
    return index;
}

void ParvelListView::Clear() {
    model_.Clear();
    UpdateTileSize();
    update();
}

void ParvelListView::SetSelected(int index, bool selected) {
    if (model_.SetSelected(index, selected)) update();
}

void ParvelListView::ApplySkin(const Skin& skin) {
    skin_ = skin.listView;
    skinned_ = true;
    scrollBar_.ApplySkin(skin);
    UpdateTileSize();
    UpdateScrollRange();
    update();
}

void ParvelListView::UpdateTileSize() {
    model_.ComputeTileSize(
        [this](const QString& caption) { return ListViewPainter::CaptionHeight(*this, skin_.font, caption); });
}

void ParvelListView::UpdateScrollRange() {
    if (model_.Items().empty() || !skinned_) return;
    const ListViewModel::ScrollRange range = model_.RangeFor(size());
    scrollBar_.SetRange(0, range.maximum);
    scrollBar_.SetPosition(range.position);
    model_.ScrollTo(scrollBar_.GetPosition(), size());
}

void ParvelListView::Scrolled(int position) {
    if (model_.Items().empty()) return;
    model_.ScrollTo(position, size());
    update();
}

void ParvelListView::Activate(QPoint point, int code) {
    const int index = model_.HitTest(point, size());
    if (index < 0) return;
    model_.SetCurrent(index);
    emit notified(childId_, code);
    update();
}

QString ParvelListView::AccessibleValue() const {
    const int current = model_.GetCurrent();
    const auto& items = model_.Items();
    return current >= 0 && current < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(current)].caption
                                                                    : QString();
}

bool ParvelListView::event(QEvent* event) {
    if (const Skin* skin = ApplySkinEvent::SkinOf(event)) {
        ApplySkin(*skin);
        return true;
    }
    return QWidget::event(event);
}

void ParvelListView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ListViewPainter::Paint(painter, size(), model_, skin_);
}

void ParvelListView::resizeEvent(QResizeEvent* event) {
    scrollBar_.setGeometry(ListViewModel::ScrollBarRect(size()));
    UpdateScrollRange();
    QWidget::resizeEvent(event);
}

void ParvelListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    Activate(event->position().toPoint(), parvel::kItemClicked);
}

void ParvelListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    Activate(event->position().toPoint(), parvel::kItemDoubleClicked);
}

void ParvelListView::wheelEvent(QWheelEvent* event) {
    scrollBar_.StepByUser(-WheelSteps(event, wheelRemainder_));
}

}  // namespace lumora
