// WheelSteps: whole wheel notches in a wheel event (120 eighths of a degree each), with
// what is left of a partial notch kept in `remainder` for the next event, so touchpads
// that send small deltas step as often as a wheel. Positive when turned away from the
// user (up). User-interface thread.
#pragma once

#include <QWheelEvent>

namespace lumora {

inline int WheelSteps(QWheelEvent* event, int& remainder) {
    const QPoint delta = event->angleDelta();
    remainder += delta.y() != 0 ? delta.y() : delta.x();
    const int steps = remainder / QWheelEvent::DefaultDeltasPerStep;
    remainder -= steps * QWheelEvent::DefaultDeltasPerStep;
    event->accept();
    return steps;
}

}  // namespace lumora
