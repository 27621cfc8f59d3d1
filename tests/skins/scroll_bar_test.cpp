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
TEST(ScrollBarModel, ThumbAndPointerMapOntoTheTrackAndDragsStopAtTheLimits) {
    ScrollBarModel bar;
    bar.SetRange(0, 64);
    bar.SetPosition(32);
    for (const auto& [y, position] : {std::pair{0, 0}, {17, 0}, {49, 32}, {81, 64}, {500, 64}}) {
        EXPECT_EQ(bar.PositionFromY(y, kBar), position) << y;
    }

    bar.SetRange(0, 10);
    bar.SetPosition(5);
    ASSERT_TRUE(bar.Press(bar.ThumbRect(kBar).center(), kBar));
    EXPECT_TRUE(bar.Drag(-50, kBar) && bar.Position() == 0);
    EXPECT_FALSE(bar.Drag(-80, kBar));
    EXPECT_TRUE(bar.Drag(400, kBar) && bar.Position() == 10);
    bar.Release();
    EXPECT_FALSE(bar.Drag(50, kBar));
    const QSize tiny(12, 30);  // no room for a track
    EXPECT_EQ(std::tuple(bar.PositionFromY(20, tiny), bar.ThumbRect(tiny).top()), std::tuple(0, 13));
    bar.SetRange(0, 3);
    EXPECT_EQ(bar.Position(), 3);
    EXPECT_FALSE(bar.Press(QPoint(6, 50), kBar));  // the track does not page
    EXPECT_EQ(bar.Position(), 3);
}

TEST(ScrollBarModel, BadAndEmptyRangesNeitherDragNorStep) {
    ScrollBarModel bar;
    bar.SetRange(10, 5);  // the maximum is raised to the minimum
    EXPECT_EQ(std::tuple(bar.Maximum(), bar.Position(), bar.ThumbRect(kBar).top()), std::tuple(10, 10, 13));
    EXPECT_FALSE(bar.Press(bar.ThumbRect(kBar).center(), kBar));
    EXPECT_FALSE(bar.Step(1) || bar.Step(-1));

    bar.SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    bar.SetPosition(std::numeric_limits<int>::max());
    EXPECT_EQ(std::tuple(bar.ThumbRect(kBar).top(), bar.PositionFromY(81, kBar)),
              std::tuple(77, std::numeric_limits<int>::max()));
    EXPECT_FALSE(bar.Step(1));
}

TEST(ScrollBarPainter, TrackIsFramedAndTheThumbFallsBackToItsColour) {
    ScrollBarModel bar;
    bar.SetRange(0, 64);
    bar.SetPosition(0);
    ScrollBarSkin skin;
    skin.border = SkinRgb(0, 0, 255);
    skin.background = SkinRgb(255, 255, 255);
    skin.thumbColour = SkinRgb(255, 0, 0);
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
}

TEST(ParvelScrollBar, ArrowsDragAndWheelMoveItAndNotify) {
    test::Host host;
    ParvelScrollBar bar(4002, host.widget());
    bar.setGeometry(100, 10, 12, 100);
    bar.SetRange(0, 4);
    bar.SetPosition(0);
    bar.show();
    std::vector<int> moves;
    QObject::connect(&bar, &ParvelScrollBar::scrolled, [&moves](int position) { moves.push_back(position); });
    auto* up = bar.findChild<ParvelButton*>("4003");
    auto* down = bar.findChild<ParvelButton*>("4004");
    ASSERT_TRUE(up && down);

    QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(6, 6));  // at the top already
    QTest::mouseClick(down, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(moves, (std::vector<int>{1}));

    const QPoint thumb = bar.Model().ThumbRect(bar.size()).center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(&bar, QPoint(6, 200));
    QTest::mouseMove(&bar, QPoint(6, 300));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(6, 300));
    EXPECT_EQ(moves, (std::vector<int>{1, 4}));

    test::TurnWheel(bar, 1);
    EXPECT_EQ(moves, (std::vector<int>{1, 4, 3}));
    bar.SetPosition(0);  // set by the owner: no notification
    EXPECT_EQ(moves.size(), 3u);
}

}  // namespace
}  // namespace lumora
