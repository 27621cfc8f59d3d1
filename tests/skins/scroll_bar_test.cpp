#include "control_test_support.h"
#include "skins/parvel_scroll_bar.h"
#include "skins/scroll_bar_painter.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <limits>
#include <tuple>

namespace lumora {
namespace {

const QSize kBar(12, 100);  // thumb centre from y = 17 to 82

// The thumb's places at either end are checked by the painter's pixels below.
TEST(ParvelScrollBar, ThumbAndPointerMapOntoTheTrackThePainterFramesItAndArrowsDragAndWheelMoveIt) {
    ScrollBarModel bar;
    bar.SetRange(0, 64);
    bar.SetPosition(32);
    for (const auto& [y, position] : {std::pair{0, 0}, {17, 0}, {49, 32}, {81, 64}, {500, 64}}) {
        EXPECT_EQ(bar.PositionFromY(y, kBar), position) << y;
    }

    bar.SetRange(0, 10);
    bar.SetPosition(5);
    ASSERT_TRUE(bar.Press(bar.ThumbRect(kBar).center(), kBar));
    EXPECT_TRUE(bar.Drag(-50, kBar) && bar.Position() == 0 && !bar.Drag(-80, kBar));
    EXPECT_TRUE(bar.Drag(400, kBar) && bar.Position() == 10);
    bar.Release();
    EXPECT_FALSE(bar.Drag(50, kBar));
    const QSize tiny(12, 30);  // no room for a track
    EXPECT_EQ(std::tuple(bar.PositionFromY(20, tiny), bar.ThumbRect(tiny).top()), std::tuple(0, 13));
    bar.SetRange(0, 3);
    EXPECT_EQ(bar.Position(), 3);
    EXPECT_FALSE(bar.Press(QPoint(6, 50), kBar));  // the track does not page
    EXPECT_EQ(bar.Position(), 3);

    // Bad and empty ranges neither drag nor step.
    bar.SetRange(10, 5);  // the maximum is raised to the minimum
    EXPECT_EQ(std::tuple(bar.Maximum(), bar.Position(), bar.ThumbRect(kBar).top()), std::tuple(10, 10, 13));
    EXPECT_FALSE(bar.Press(bar.ThumbRect(kBar).center(), kBar) || bar.Step(1) || bar.Step(-1));

    bar.SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    bar.SetPosition(std::numeric_limits<int>::max());
    EXPECT_EQ(std::tuple(bar.ThumbRect(kBar).top(), bar.PositionFromY(81, kBar)),
              std::tuple(77, std::numeric_limits<int>::max()));
    EXPECT_FALSE(bar.Step(1));

    // The painter frames the track; the thumb falls back to its colour.
    bar.SetRange(0, 64);
    bar.SetPosition(0);
    ScrollBarSkin skin{{}, {}, SkinRgb(0, 0, 255), SkinRgb(255, 255, 255), SkinRgb(255, 0, 0), nullptr};
    QImage canvas = test::Solid(12, 100, Qt::black);
    QPainter painter(&canvas);
    ScrollBarPainter::Paint(painter, kBar, bar, skin);
    const QImage thumb = test::Solid(10, 10, Qt::green);
    skin.thumb = &thumb;
    bar.SetPosition(64);
    ScrollBarPainter::Paint(painter, kBar, bar, skin);
    painter.end();
    // Nothing where the arrows go (they paint themselves), the track's frame and inside, the thumb.
    const test::Pixel pixels[] = {
        {0, 0, Qt::black}, {0, 12, Qt::blue}, {11, 87, Qt::blue}, {5, 50, Qt::white}, {5, 77, Qt::green}};
    test::ExpectPixels(canvas, pixels);

    // The widget: arrows, drags and the wheel move it and notify.
    test::Host host;
    ParvelScrollBar widget(4002, host.widget());
    widget.setGeometry(100, 10, 12, 100);
    widget.SetRange(0, 4);
    widget.SetPosition(0);
    widget.show();
    std::vector<int> moves;
    QObject::connect(&widget, &ParvelScrollBar::scrolled, [&moves](int position) { moves.push_back(position); });
    auto* up = widget.findChild<ParvelButton*>("4003");
    auto* down = widget.findChild<ParvelButton*>("4004");
    ASSERT_TRUE(up && down);

    QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(6, 6));  // at the top already
    QTest::mouseClick(down, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(moves, (std::vector<int>{1}));

    const QPoint grip = widget.Model().ThumbRect(widget.size()).center();
    QTest::mousePress(&widget, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&widget, QPoint(6, 200));
    QTest::mouseMove(&widget, QPoint(6, 300));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(6, 300));
    EXPECT_EQ(moves, (std::vector<int>{1, 4}));

    test::TurnWheel(widget, 1);
    EXPECT_EQ(moves, (std::vector<int>{1, 4, 3}));
    widget.SetPosition(0);  // set by the owner: no notification
    EXPECT_EQ(moves.size(), 3u);
}

}  // namespace
}  // namespace lumora
