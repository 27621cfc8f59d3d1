// Helpers for the control tests: solid pictures, a shown top-level window to put
// controls in, and signal recorders.
#pragma once

#include "skins/skin_groups.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace lumora::test {

inline QImage Solid(int width, int height, QColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Four pictures of four colours: normal red, over green, pressed blue, disabled grey.
class FourFaces {
public:
    explicit FourFaces(int size = 12)
        : pictures_{Solid(size, size, Qt::red), Solid(size, size, Qt::green), Solid(size, size, Qt::blue),
                    Solid(size, size, Qt::gray)} {}
    ButtonBitmaps Bitmaps() const { return {&pictures_[0], &pictures_[1], &pictures_[2], &pictures_[3]}; }

private:
    std::array<QImage, 4> pictures_;
};

// A shown window for controls, large enough for all of them.
class Host {
public:
    Host() {
        window_.resize(400, 300);
        window_.show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&window_);
    }
    QWidget* widget() { return &window_; }

private:
    QWidget window_;
};

// The colour of the widget's pixel at `point` as it paints now.
inline QColor PixelOf(QWidget& widget, QPoint point) {
    return widget.grab().toImage().pixelColor(point);
}

// Turns the mouse wheel over the middle of `widget` by `notches` (positive: away from
// the user).
inline void TurnWheel(QWidget& widget, int notches) {
    const QPointF middle = QRectF(widget.rect()).center();
    QWheelEvent wheel(middle, widget.mapToGlobal(middle), {}, QPoint(0, 120 * notches), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &wheel);
}

// Collects (child id, code) pairs of a `notified` signal.
using Notes = std::vector<std::pair<int, int>>;
template <typename Control>
void Record(Control& control, Notes& notes) {
    QObject::connect(&control, &Control::notified, [&notes](int id, int code) { notes.emplace_back(id, code); });
}

}  // namespace lumora::test
