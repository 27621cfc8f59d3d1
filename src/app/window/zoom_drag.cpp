#include "app/window/zoom_drag.h"

namespace lumora {

bool ZoomDrag::Press(QPoint point, bool zoomActive) {
    if (!zoomActive) return dragging_;
    dragging_ = true;
    last_ = point;
    return true;
}

std::optional<QPoint> ZoomDrag::Move(QPoint point) {
    if (!dragging_) return std::nullopt;
    const QPoint delta(last_.x() - point.x(), point.y() - last_.y());
    last_ = point;
    return delta;
}

void ZoomDrag::Release() {
    dragging_ = false;
    last_ = QPoint(-1, -1);
}

}  // namespace lumora
