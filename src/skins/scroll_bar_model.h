// ScrollBarModel: range, position, thumb geometry and dragging of a skinned vertical
// scroll bar. For a bar of w x h pixels: 12-pixel arrow buttons at both ends, the track
// between them, and a 10 x 10 thumb whose centre runs from y = 17 to y = h - 18. A press
// on the thumb starts a drag (only when the range is not empty); the track itself does
// not page. Bars too short for a track (under 37 pixels) keep the thumb at the top and
// answer the minimum for any point.
//
// Invariant: minimum <= position <= maximum. Plain value; one thread.
#pragma once

#include "skins/thumb_track.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace lumora {

class ScrollBarModel : public ThumbTrack {
public:
    static constexpr int kBarWidth = 12;
    static constexpr int kArrowSize = 12;
    static constexpr int kThumbSize = 10;

    // A maximum below the minimum becomes the minimum; the position is clamped.
    void SetRange(int minimum, int maximum);

    // The track, filled and framed, between the arrows.
    static QRect Track(QSize size);
    QRect ThumbRect(QSize size) const;
    // The position of a thumb centred at `y`, clamped into the range.
    int PositionFromY(int y, QSize size) const;

    // A press at `point` (ends a drag first); answers whether a drag started.
    bool Press(QPoint point, QSize size);
    // The pointer moved while dragging; answers whether the position changed.
    bool Drag(int y, QSize size);

private:
    // The thumb centre's first and last-plus-one y.
    static int CentreTop() { return kArrowSize + 1 + kThumbSize / 2 + kThumbSize % 2 - 1; }
    static int CentreBottom(QSize size) { return size.height() - kArrowSize - 1 - kThumbSize % 2 - kThumbSize / 2; }
    // How far the thumb centre can travel: positions map onto [0, Span].
    static int Span(QSize size) { return CentreBottom(size) - CentreTop() - 1; }
};

}  // namespace lumora
