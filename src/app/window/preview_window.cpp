#include "app/window/preview_window.h"

#include "effects/effect_chain.h"
#include "effects/zoom_effect.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

namespace lumora {

namespace {

// Posted by the streaming thread: a frame waits in the slot.
const QEvent::Type kFrameArrived = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

PreviewWindow::PreviewWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("ParvelPreview");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void PreviewWindow::SetZoomControl(EffectChain* chain, std::function<bool()> graphBuilt) {
    chain_ = chain;
    graphBuilt_ = std::move(graphBuilt);
}

void PreviewWindow::PresentFrame(const PreviewFrame& frame) {
    if (slot_.Put(frame)) QCoreApplication::postEvent(this, new QEvent(kFrameArrived));
}

void PreviewWindow::SetVideoRect(const QRect& rect) {
    videoRect_ = rect;
    update();
}

void PreviewWindow::SetVideoVisible(bool visible) {
    videoVisible_ = visible;
    if (!visible) {
        slot_.Clear();
        shown_ = QImage();
    }
    update();
}

bool PreviewWindow::event(QEvent* event) {
    if (event->type() != kFrameArrived) return QWidget::event(event);
    if (slot_.Take(shown_)) {
        ++framesShown_;
        update();
    }
    return true;
}

void PreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect target = videoRect_.isEmpty() ? rect() : videoRect_;
    if (!videoVisible_ || shown_.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (target != rect()) painter.fillRect(rect(), Qt::black);
    if (shown_.size() == target.size()) {
        painter.drawImage(target.topLeft(), shown_);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, shown_);
    }
}

bool PreviewWindow::ZoomActive() const { return chain_ && chain_->IsEffectActive(chain_->zoomEffectId()); }

void PreviewWindow::MoveZoom(QPoint delta) {
    auto* zoom = dynamic_cast<ZoomEffect*>(chain_->FindEffect(chain_->zoomEffectId()));
    if (!zoom) return;
    zoom->MoveOffset(delta.x(), delta.y());
    chain_->ActivateEffect(chain_->zoomEffectId());
}

void PreviewWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    if (drag_.Press(event->position().toPoint(), ZoomActive())) grabMouse();
}

void PreviewWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_.Dragging()) return QWidget::mouseMoveEvent(event);
    if (!chain_ || !graphBuilt_ || !graphBuilt_()) return;
    if (const auto delta = drag_.Move(event->position().toPoint())) MoveZoom(*delta);
}

void PreviewWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    if (drag_.Dragging()) releaseMouse();
    drag_.Release();
}

}  // namespace lumora
