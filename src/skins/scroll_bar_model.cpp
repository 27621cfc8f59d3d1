#include "skins/scroll_bar_model.h"

#include <algorithm>

namespace lumora {

void ScrollBarModel::SetRange(int minimum, int maximum) {
    SetBounds(minimum, std::max(maximum, minimum));
}

QRect ScrollBarModel::Track(QSize size) {
    return QRect(0, kArrowSize, size.width(), size.height() - 2 * kArrowSize);
}

QRect ScrollBarModel::ThumbRect(QSize size) const {
    const int top = CentreTop() + OffsetOn(Span(size)) - kThumbSize % 2 - kThumbSize / 2 + 1;
    return QRect((size.width() - kThumbSize) / 2, top, kThumbSize, kThumbSize);
}

int ScrollBarModel::PositionFromY(int y, QSize size) const {
    return ValueAt(y - CentreTop(), Span(size));
}

bool ScrollBarModel::Press(QPoint point, QSize size) {
    SetDragging(Maximum() > Minimum() && ThumbRect(size).contains(point));
    return Dragging();
}

bool ScrollBarModel::Drag(int y, QSize size) {
    if (!Dragging()) return false;
    return SetPosition(PositionFromY(y, size));
}

}  // namespace lumora
