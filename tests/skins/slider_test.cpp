#include "control_test_support.h"
#include "skins/parvel_slider.h"
#include "skins/slider_painter.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPainter>

#include <limits>
#include <tuple>

namespace lumora {
namespace {

const QSize kSlider(126, 12);  // a ruler from x = 5 to x = 120

SliderModel Range(int minimum, int maximum, int position) {
    SliderModel slider;
    slider.SetRange(minimum, maximum);
    slider.SetPosition(position);
    return slider;
}

TEST(ParvelSlider, ThumbClicksAndTicksMapOntoTheRulerAndMouseKeysWheelAndScreenReadersMoveIt) {
    SliderModel slider = Range(0, 100, 50);
    // A click on the ruler away from the thumb jumps there; above and below it nothing happens.
    EXPECT_TRUE(slider.Press(QPoint(119, 5), kSlider).moved);
    EXPECT_EQ(std::tuple(slider.Position(), slider.Dragging()), std::tuple(100, false));
    slider.SetPosition(50);
    EXPECT_FALSE(slider.Press(QPoint(30, 0), kSlider).moved || slider.Press(QPoint(30, 10), kSlider).moved);
    EXPECT_EQ(slider.Position(), 50);

    // A press on the thumb starts a drag without moving it; past the ends it stops.
    const SliderModel::PressResult press = slider.Press(slider.ThumbRect(kSlider).center(), kSlider);
    EXPECT_EQ(std::tuple(press.dragging, press.moved, slider.Position()), std::tuple(true, false, 50));
    EXPECT_TRUE(slider.Drag(-40, kSlider));
    EXPECT_EQ(slider.Position(), 0);
    EXPECT_TRUE(!slider.Drag(-80, kSlider) && slider.Drag(500, kSlider) && !slider.Drag(600, kSlider));
    EXPECT_EQ(slider.Position(), 100);
    slider.Release();
    EXPECT_FALSE(slider.Drag(10, kSlider));
    EXPECT_EQ(slider.PositionFromX(3, QSize(8, 12)), 0);  // no ruler at all

    // Ticks mark every value only when they fit; ranges always hold two values.
    EXPECT_EQ(Range(0, 255, 0).Ticks(kSlider).size(), 10u);
    EXPECT_EQ(Range(1, 10, 1).Ticks(kSlider).size(), 10u);
    EXPECT_EQ(Range(0, 4, 0).Ticks(kSlider), (std::vector<int>{5, 33, 62, 90, 119}));
    EXPECT_EQ(std::tuple(Range(5, 5, 5).Minimum(), Range(5, 5, 5).Maximum()), std::tuple(5, 6));
    EXPECT_EQ(Range(7, 3, 0).Maximum(), 8);
    const SliderModel top = Range(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 0);
    EXPECT_LT(top.Minimum(), top.Maximum());

    QImage canvas = test::Solid(126, 12, Qt::green);
    QPainter painter(&canvas);
    SliderPainter::Paint(
        painter, kSlider, Range(0, 4, 0),
        SliderSkin{SkinRgb(0, 0, 255), SkinRgb(255, 255, 255), SkinRgb(0, 0, 0), SkinRgb(255, 0, 0), nullptr});
    painter.end();
    // The border, a dot (every third pixel from x = 5 on row 8), a tick (rows 3 to 6), the
    // thumb without a picture, and the background between them.
    const test::Pixel pixels[] = {{0, 0, Qt::blue},   {125, 11, Qt::blue}, {32, 8, Qt::black},
                                  {31, 8, Qt::white}, {33, 3, Qt::black},  {33, 6, Qt::black},
                                  {33, 7, Qt::white}, {34, 4, Qt::white},  {6, 6, Qt::red}};
    test::ExpectPixels(canvas, pixels);

    // The widget: mouse, keys, wheel and screen readers move it while enabled.
    test::Host host;
    ParvelSlider widget(host.widget());
    widget.setGeometry(55, 9, 126, 12);
    widget.SetRange(0, 100);
    widget.SetPosition(50);
    widget.show();
    std::vector<int> moves;
    QObject::connect(&widget, &ParvelSlider::scrolled, [&moves](int position) { moves.push_back(position); });

    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(&widget, Qt::LeftButton, {}, widget.Model().ThumbRect(widget.size()).center());
    QTest::mouseMove(&widget, QPoint(62, 5));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(62, 5));
    EXPECT_EQ(moves, (std::vector<int>{0, 50}));

    widget.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return widget.hasFocus(); }));
    QTest::keyClick(&widget, Qt::Key_Right);
    QTest::keyClick(&widget, Qt::Key_PageDown);
    QTest::keyClick(&widget, Qt::Key_End);
    test::TurnWheel(widget, -2);
    EXPECT_EQ(moves, (std::vector<int>{0, 50, 51, 41, 100, 98}));

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    ASSERT_TRUE(accessible && accessible->role() == QAccessible::Slider && accessible->valueInterface());
    EXPECT_EQ(accessible->valueInterface()->maximumValue().toInt(), 100);
    accessible->valueInterface()->setCurrentValue(20);
    EXPECT_EQ(widget.GetPosition(), 20);

    widget.Enable(false);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(119, 5));
    EXPECT_EQ(widget.GetPosition(), 20);
}

}  // namespace
}  // namespace lumora
