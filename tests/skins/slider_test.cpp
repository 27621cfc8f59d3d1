#include "control_test_support.h"
#include "skins/parvel_slider.h"
#include "skins/slider_painter.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPainter>

#include <limits>

namespace lumora {
namespace {

const QSize kSlider(126, 12);  // a ruler from x = 5 to x = 120

SliderModel Range(int minimum, int maximum, int position) {
    SliderModel slider;
    slider.SetRange(minimum, maximum);
    slider.SetPosition(position);
    return slider;
}

TEST(SliderModel, TicksMarkEveryValueOnlyWhenTheyFit) {
    EXPECT_EQ(SliderModel::Ruler(kSlider), QRect(5, 3, 115, 6));
    EXPECT_EQ(Range(0, 255, 0).Ticks(kSlider).size(), 10u);
    EXPECT_EQ(Range(1, 10, 1).Ticks(kSlider).size(), 10u);
    EXPECT_EQ(Range(0, 4, 0).Ticks(kSlider), (std::vector<int>{5, 33, 62, 90, 119}));
    const SliderModel single = Range(5, 5, 5);
    EXPECT_EQ(single.Minimum(), 5);
    EXPECT_EQ(single.Maximum(), 6);
    EXPECT_EQ(Range(7, 3, 0).Maximum(), 8);
    const SliderModel top = Range(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 0);
    EXPECT_LT(top.Minimum(), top.Maximum());
}

TEST(SliderModel, ThumbAndClicksMapPositionsOntoTheRuler) {
    SliderModel slider = Range(0, 100, 50);
    EXPECT_EQ(Range(0, 100, 0).ThumbRect(kSlider), QRect(1, 1, 10, 10));
    EXPECT_EQ(Range(0, 100, 100).ThumbRect(kSlider), QRect(115, 1, 10, 10));
    // The thumb is away from both ends.
    EXPECT_TRUE(slider.Press(QPoint(5, 5), kSlider).moved);
    EXPECT_EQ(slider.Position(), 0);
    EXPECT_FALSE(slider.Dragging());
    EXPECT_TRUE(slider.Press(QPoint(119, 5), kSlider).moved);
    EXPECT_EQ(slider.Position(), 100);
    // Above and below the ruler nothing happens.
    slider.SetPosition(50);
    EXPECT_FALSE(slider.Press(QPoint(30, 0), kSlider).moved);
    EXPECT_FALSE(slider.Press(QPoint(30, 10), kSlider).moved);
    EXPECT_EQ(slider.Position(), 50);

    // A press on the thumb starts a drag without moving it; past the ends it stops.
    const SliderModel::PressResult press = slider.Press(slider.ThumbRect(kSlider).center(), kSlider);
    EXPECT_TRUE(press.dragging);
    EXPECT_FALSE(press.moved);
    EXPECT_EQ(slider.Position(), 50);
    EXPECT_TRUE(slider.Drag(-40, kSlider));
    EXPECT_EQ(slider.Position(), 0);
    EXPECT_FALSE(slider.Drag(-80, kSlider));
    EXPECT_TRUE(slider.Drag(500, kSlider));
    EXPECT_FALSE(slider.Drag(600, kSlider));
    EXPECT_EQ(slider.Position(), 100);
    slider.Release();
    EXPECT_FALSE(slider.Drag(10, kSlider));
    EXPECT_EQ(slider.PositionFromX(3, QSize(8, 12)), 0);  // no ruler at all
}

TEST(SliderPainter, RulerDotsTicksAndThumbLandOnTheirPixels) {
    const SliderModel slider = Range(0, 4, 0);
    SliderSkin skin;
    skin.border = SkinRgb(0, 0, 255);
    skin.background = SkinRgb(255, 255, 255);
    skin.marks = SkinRgb(0, 0, 0);
    skin.thumbColour = SkinRgb(255, 0, 0);
    QImage canvas = test::Solid(126, 12, Qt::green);
    QPainter painter(&canvas);
    SliderPainter::Paint(painter, kSlider, slider, skin);
    painter.end();
    const auto at = [&canvas](int x, int y) { return canvas.pixelColor(x, y); };
    EXPECT_EQ(at(0, 0), QColor(Qt::blue));
    EXPECT_EQ(at(125, 11), QColor(Qt::blue));
    EXPECT_EQ(at(32, 8), QColor(Qt::black));  // every third pixel from x = 5 on row 8
    EXPECT_EQ(at(31, 8), QColor(Qt::white));
    EXPECT_EQ(at(33, 3), QColor(Qt::black));  // a tick, rows 3 to 6
    EXPECT_EQ(at(33, 6), QColor(Qt::black));
    EXPECT_EQ(at(33, 7), QColor(Qt::white));
    EXPECT_EQ(at(34, 4), QColor(Qt::white));
    EXPECT_EQ(at(6, 6), QColor(Qt::red));  // the thumb without a picture
}

TEST(ParvelSlider, MouseKeysWheelAndScreenReadersMoveItWhenEnabled) {
    test::Host host;
    ParvelSlider slider(host.widget());
    slider.setGeometry(55, 9, 126, 12);
    slider.SetRange(0, 100);
    slider.SetPosition(50);
    slider.show();
    std::vector<int> moves;
    QObject::connect(&slider, &ParvelSlider::scrolled, [&moves](int position) { moves.push_back(position); });

    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(&slider, Qt::LeftButton, {}, slider.Model().ThumbRect(slider.size()).center());
    QTest::mouseMove(&slider, QPoint(62, 5));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(62, 5));
    EXPECT_EQ(moves, (std::vector<int>{0, 50}));

    slider.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return slider.hasFocus(); }));
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    QTest::keyClick(&slider, Qt::Key_End);
    test::TurnWheel(slider, -2);
    EXPECT_EQ(moves, (std::vector<int>{0, 50, 51, 41, 100, 98}));

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&slider);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Slider);
    ASSERT_NE(accessible->valueInterface(), nullptr);
    EXPECT_EQ(accessible->valueInterface()->maximumValue().toInt(), 100);
    accessible->valueInterface()->setCurrentValue(20);
    EXPECT_EQ(slider.GetPosition(), 20);

    slider.Enable(false);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(119, 5));
    EXPECT_EQ(slider.GetPosition(), 20);
}

}  // namespace
}  // namespace lumora
