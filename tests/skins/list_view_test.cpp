#include "control_test_support.h"
#include "skins/list_view_painter.h"
#include "skins/parvel_list_view.h"
#include "skins/themed_skin.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <tuple>

namespace lumora {
namespace {

using test::Notes;

// A tile area of 210 x 100 pixels.
const QSize kClient(224, 102);

// `count` items whose captions are 17 pixels high, or 34 for those marked "long".
ListViewModel ListOf(int count, const std::vector<int>& tall = {}) {
    ListViewModel list;
    for (int i = 0; i < count; ++i) {
        const bool isTall = std::find(tall.begin(), tall.end(), i) != tall.end();
        list.AddItem(nullptr, isTall ? "long" : "short", 100 + i);
    }
    list.ComputeTileSize([](const QString& caption) { return caption == "long" ? 34 : 17; });
    return list;
}

TEST(ParvelListView, TilesGoInRowsShowSelectionAndCurrentnessAndClicksAndTheBarMoveThem) {
    ListViewModel list = ListOf(7);
    EXPECT_EQ(list.TileSize(), QSize(68, 80));
    EXPECT_EQ(list.Columns(kClient), 3);
    EXPECT_EQ(std::tuple(list.RangeFor(kClient).maximum, list.RangeFor(kClient).position), std::tuple(2, 0));

    // The second row shows, cut by the area's bottom (the painter's pixels); the third does not.
    EXPECT_EQ(list.VisibleTiles(kClient).size(), 6u);
    list.ScrollTo(2, kClient);
    EXPECT_EQ(list.FirstVisible(), 6);
    ASSERT_EQ(list.VisibleTiles(kClient).size(), 1u);
    EXPECT_EQ(std::tuple(list.VisibleTiles(kClient)[0].index, list.RangeFor(kClient).position), std::tuple(6, 2));

    // One long caption makes every tile taller; an empty list has no tiles.
    EXPECT_EQ(ListOf(3, {1}).TileSize(), QSize(68, 97));
    ListViewModel empty;
    empty.ComputeTileSize([](const QString&) { return 17; });
    EXPECT_TRUE(empty.TileSize().isNull() && empty.VisibleTiles(kClient).empty());
    EXPECT_EQ(empty.HitTest(QPoint(10, 10), kClient), -1);

    // Hits fall on tiles cut to the area: beyond the last item, in the border below the area and left of it: no tile.
    const std::pair<QPoint, int> hits[] = {{{1, 1}, 0},     {{140, 40}, 2},  {{80, 90}, 4},
                                           {{150, 90}, -1}, {{80, 101}, -1}, {{0, 10}, -1}};
    list = ListOf(5);
    for (const auto& [point, index] : hits) EXPECT_EQ(list.HitTest(point, kClient), index) << point.x();
    EXPECT_TRUE(!list.SetSelected(5, true) && list.SetSelected(4, true));
    EXPECT_EQ(std::tuple(list.GetItemValue(4), list.GetItemValue(-1)), std::tuple(104, 0));
    EXPECT_EQ(std::tuple(list.FindItemByValue(102), list.FindItemByValue(7)), std::tuple(2, -1));
    list.SetCurrent(3);
    list.Clear();
    EXPECT_EQ(list.GetCurrent(), 3);  // kept

    // Painted, tiles show selection, currentness and missing pictures.
    list = ListOf(4);
    const QImage picture = test::Solid(20, 20, Qt::blue);
    list.AddItem(&picture, "", 1);
    list.ComputeTileSize([](const QString&) { return 17; });
    list.SetSelected(0, true);
    list.SetSelected(1, true);
    list.SetCurrent(0);
    const ListViewSkin skin{
        SkinRgb(1, 1, 1), SkinRgb(250, 250, 250), SkinRgb(0, 0, 0), SkinRgb(3, 3, 3),   SkinRgb(4, 200, 4),
        SkinRgb(5, 5, 5), SkinRgb(6, 6, 6),       SkinRgb(7, 7, 7), SkinRgb(255, 0, 0), {}};
    QImage canvas = test::Solid(kClient.width(), kClient.height(), Qt::black);
    QPainter painter(&canvas);
    ListViewPainter::Paint(painter, kClient, list, skin);
    painter.end();
    // The current and selected tile has the active border, the selected one its own, the
    // third none. Without a picture the square shows the tile's background; item 4 is
    // stretched to 48 x 48, and the cut row stops at the area.
    const test::Pixel pixels[] = {{0, 0, ToQColor(skin.windowBorder)},
                                  {1, 1, ToQColor(skin.activeBorder)},
                                  {69, 1, ToQColor(skin.selectedBorder)},
                                  {137, 1, ToQColor(skin.background)},
                                  {1 + 9, 1 + 4, ToQColor(skin.selectedImageBorder)},
                                  {137 + 9, 1 + 4, ToQColor(skin.imageBorder)},
                                  {1 + 30, 1 + 30, ToQColor(skin.selectedBackground)},
                                  {137 + 30, 1 + 30, ToQColor(skin.background)},
                                  {69 + 10, 81 + 5, Qt::blue},
                                  {69 + 57, 100, Qt::blue},
                                  {69 + 30, 101, ToQColor(skin.windowBorder)}};
    test::ExpectPixels(canvas, pixels);

    // The view: clicks make tiles current and scrolling follows the bar.
    test::Host host;
    const auto defaultSkin = CreateDefaultSkin(1.0);
    ParvelListView view(4000, host.widget());
    view.setGeometry(10, 10, kClient.width(), kClient.height());
    view.show();
    for (int i = 0; i < 7; ++i) view.AddItem(nullptr, QString("Effect %1").arg(i), i);
    view.ApplySkin(*defaultSkin);
    const QSize tile = view.Model().TileSize();
    ASSERT_EQ(tile.width(), 68);
    // Three rows of tiles, as many of them whole in the 100-pixel area as fit.
    EXPECT_EQ(view.ScrollBar().Model().Maximum(), std::max(3 - std::max(1, 100 / tile.height()), 0));

    Notes notes;
    test::Record(view, notes);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(69 + 30, 20));
    EXPECT_EQ(view.GetCurrent(), 1);
    // A double click is a press, then a double-click press (which is all QTest sends).
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(137 + 30, 20));
    QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(137 + 30, 20));
    EXPECT_EQ(view.GetCurrent(), 2);
    EXPECT_EQ(notes, (Notes{{4000, 1}, {4000, 1}, {4000, 2}}));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(0, 5));  // the border: no tile
    EXPECT_EQ(notes.size(), 3u);

    test::TurnWheel(view, -1);
    EXPECT_EQ(std::tuple(view.ScrollBar().GetPosition(), view.Model().FirstVisible()), std::tuple(1, 3));
}

}  // namespace
}  // namespace lumora
