#include "tools/thumbnail_grid.h"

#include "tools/thumbnail_painter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace lumora {

ThumbnailGrid::ThumbnailGrid(QSize itemSize, int margin, QWidget* parent)
        : QWidget(parent),
          layout_(itemSize, margin,
                  [this](const QString& label, int width) {
                      return fontMetrics().boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, label).height();
                  }),
          scrollBar_(new QScrollBar(Qt::Vertical, this)) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &ThumbnailGrid::Scrolled);
    UpdateScrollBar();
}

QSize ThumbnailGrid::ClientSize() const { return QSize(std::max(0, width() - scrollBar_->width()), height()); }

int ThumbnailGrid::AddItem(ThumbnailItem item) {
    const int index = layout_.Add(std::move(item));
    UpdateScrollBar();
    return index;
}

void ThumbnailGrid::Clear() {
    layout_.Clear();
    UpdateScrollBar();
}

void ThumbnailGrid::UpdateScrollBar() {
    layout_.SetClientSize(ClientSize());
    const ThumbnailLayout::ScrollState state = layout_.Scroll();
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setEnabled(state.enabled);
    scrollBar_->setRange(0, state.maximum);
    scrollBar_->setPageStep(state.page);
    scrollBar_->setSingleStep(1);
    scrollBar_->setValue(state.position);
    update();
}

void ThumbnailGrid::Scrolled(int row) {
    layout_.ScrollToRow(row);
    update();
}

void ThumbnailGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ThumbnailPainter::Paint(painter, layout_, ClientSize(), palette().color(QPalette::ButtonText));
}

void ThumbnailGrid::resizeEvent(QResizeEvent*) {
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
    UpdateScrollBar();
}

bool ThumbnailGrid::SelectAt(QPoint point) {
    const int index = layout_.HitTest(point);
    if (index < 0) return false;
    layout_.Select(index);
    update();
    return true;
}

void ThumbnailGrid::mousePressEvent(QMouseEvent* event) {
    pressedItem_ = -1;
    if (event->button() != Qt::LeftButton || !SelectAt(event->position().toPoint())) return;
    pressAt_ = event->position().toPoint();
    pressedItem_ = layout_.Selected();
    emit pressed(pressedItem_);
}

void ThumbnailGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    pressedItem_ = -1;
    if (event->button() == Qt::LeftButton && SelectAt(event->position().toPoint()))
        emit doubleClicked(layout_.Selected());
}

void ThumbnailGrid::mouseMoveEvent(QMouseEvent* event) {
    if (pressedItem_ < 0 || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - pressAt_).manhattanLength() < QApplication::startDragDistance()) return;
    const int item = std::exchange(pressedItem_, -1);
    emit dragStarted(item);
}

void ThumbnailGrid::wheelEvent(QWheelEvent* event) {
    if (scrollBar_->isEnabled()) scrollBar_->setValue(scrollBar_->value() - event->angleDelta().y() / 120);
}

}  // namespace lumora
