// SliderModel: range, position, geometry and dragging of a skinned horizontal slider.
// For a slider of w x h pixels the ruler runs from x = 5 to x = w - 6 (the thumb centre's
// limits) and is 6 pixels high, centred; the 10 x 10 thumb is centred vertically. Ticks
// mark every value of a range that fits (one tick per 6 pixels of ruler at most), else
// ten. A press on the thumb starts a drag; a press elsewhere on the ruler moves the thumb
// there; presses above or below the ruler do nothing.
//
// Invariants: minimum < maximum, minimum <= position <= maximum. Plain value; one thread.
#pragma once

#include "skins/thumb_track.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace lumora {

class SliderModel : public ThumbTrack {
public:
    static constexpr int kHeight = 12;
    static constexpr int kThumbSize = 10;
    static constexpr int kRulerHeight = 6;

    // A maximum not above the minimum becomes minimum + 1; the position is clamped.
    void SetRange(int minimum, int maximum);

    static QRect Ruler(QSize size);
    QRect ThumbRect(QSize size) const;
    // The x of every tick mark, left to right.
    std::vector<int> Ticks(QSize size) const;
    // The position of a thumb centred at `x`, clamped into the range.
    int PositionFromX(int x, QSize size) const;

    struct PressResult {
        bool dragging = false;
        bool moved = false;  // the position changed
    };
    // A press at `point`; ends a drag first.
    PressResult Press(QPoint point, QSize size);
    // The pointer moved while dragging; answers whether the position changed.
    bool Drag(int x, QSize size);

private:
    // How far the thumb centre can travel along the ruler: positions map onto [0, Span].
    static int Span(QSize size) { return Ruler(size).width() - 1; }
};

}  // namespace lumora
