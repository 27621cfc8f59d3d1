#include "skins/slider_model.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumora {

void SliderModel::SetRange(int minimum, int maximum) {
    // minimum + 1 must exist: the largest integer cannot be a minimum.
    const int low = std::min(minimum, std::numeric_limits<int>::max() - 1);
    SetBounds(low, maximum > low ? maximum : low + 1);
}

QRect SliderModel::Ruler(QSize size) {
    const int left = 1 + kThumbSize % 2 + kThumbSize / 2 - 1;
    const int right = (size.width() - 1) - kThumbSize % 2 - kThumbSize / 2;
    const int top = 1 + (size.height() - 2 - kRulerHeight) / 2;
    return QRect(left, top, right - left, kRulerHeight);
}

QRect SliderModel::ThumbRect(QSize size) const {
    const int left = Ruler(size).left() + OffsetOn(Span(size)) - kThumbSize % 2 - kThumbSize / 2 + 1;
    const int top = 1 + (size.height() - 2 - kThumbSize) / 2;
    return QRect(left, top, kThumbSize, kThumbSize);
}

std::vector<int> SliderModel::Ticks(QSize size) const {
    const QRect ruler = Ruler(size);
    std::int64_t n = std::int64_t{Maximum()} - Minimum();
    if (ruler.width() / 6 < n) n = 9;  // as if the range were 1 to 10
    const std::int64_t span = std::max(Span(size), 0);
    std::vector<int> ticks;
    for (std::int64_t i = 0; i <= n; ++i) ticks.push_back(static_cast<int>(span * i / n + ruler.left()));
    return ticks;
}

int SliderModel::PositionFromX(int x, QSize size) const {
    return ValueAt(x - Ruler(size).left(), Span(size));
}

SliderModel::PressResult SliderModel::Press(QPoint point, QSize size) {
    SetDragging(ThumbRect(size).contains(point));
    if (Dragging()) return {true, false};
    if (!Ruler(size).contains(point)) return {};
    return {false, SetPosition(PositionFromX(point.x(), size))};
}

bool SliderModel::Drag(int x, QSize size) {
    if (!Dragging()) return false;
    return SetPosition(PositionFromX(x, size));
}

}  // namespace lumora
