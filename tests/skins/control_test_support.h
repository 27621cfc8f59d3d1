// Helpers for the control and drawing tests: solid pictures, pixel checks, a shown
// top-level window to put controls in, and signal recorders.
#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <span>
#include <utility>
#include <vector>

namespace lumora::test {

inline QImage Solid(int width, int height, QColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// A pixel of a picture and the colour it must have.
struct Pixel {
    int x, y;
    QColor colour;
};
inline void ExpectPixels(const QImage& image, std::span<const Pixel> pixels) {
    for (const Pixel& p : pixels) EXPECT_EQ(image.pixelColor(p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
}

// A shown window for controls, large enough for all of them.
struct Host : QWidget {
    Host() {
        resize(400, 300);
        show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(this);
    }
    QWidget* widget() { return this; }
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
