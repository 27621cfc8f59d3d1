// ZoomDrag: the mouse drag in the preview that moves the zoomed picture. A drag starts
// with a left press while the zoom is on; each move then answers how far to shift the
// zoom's offsets: (last x - x) horizontally and (y - last y) vertically, since frames
// count y from the bottom row. The last point reads (-1, -1) while no drag runs.
//
// A value type for the user-interface thread.
#pragma once

#include <QPoint>

#include <optional>

namespace lumora {

class ZoomDrag {
public:
    // Starts a drag at `point` when `zoomActive`; answers whether one runs now.
    bool Press(QPoint point, bool zoomActive);
    // While dragging: the offset change, and `point` becomes the last point.
    std::optional<QPoint> Move(QPoint point);
    void Release();

    bool Dragging() const { return dragging_; }
    QPoint Last() const { return last_; }

private:
    bool dragging_ = false;
    QPoint last_{-1, -1};
};

}  // namespace lumora
