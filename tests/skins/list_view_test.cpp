#include "control_test_support.h"
#include "skins/list_view_painter.h"
#include "skins/parvel_list_view.h"
#include "skins/themed_skin.h"

#include <gtest/gtest.h>

#include <QPainter>

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

TEST(ListViewModel, SevenTilesInRowsOfThreeScrollByRows) {
    ListViewModel list = ListOf(7);
    EXPECT_EQ(list.TileSize(), QSize(68, 80));
    EXPECT_EQ(ListViewModel::Area(kClient), QRect(1, 1, 210, 100));
    EXPECT_EQ(ListViewModel::ScrollBarRect(kClient), QRect(211, 1, 12, 100));
    EXPECT_EQ(list.Columns(kClient), 3);
    const ListViewModel::ScrollRange range = list.RangeFor(kClient);
    EXPECT_EQ(range.maximum, 2);
    EXPECT_EQ(range.position, 0);

    std::vector<QRect> tiles;
    for (const auto& tile : list.VisibleTiles(kClient)) tiles.push_back(tile.rect);
    // The second row shows, cut by the area's bottom; the third does not.
    EXPECT_EQ(tiles, (std::vector<QRect>{QRect(1, 1, 68, 80), QRect(69, 1, 68, 80), QRect(137, 1, 68, 80),
                                         QRect(1, 81, 68, 80), QRect(69, 81, 68, 80), QRect(137, 81, 68, 80)}));
    list.ScrollTo(2, kClient);
    EXPECT_EQ(list.FirstVisible(), 6);
    ASSERT_EQ(list.VisibleTiles(kClient).size(), 1u);
    EXPECT_EQ(list.VisibleTiles(kClient)[0].index, 6);
    EXPECT_EQ(list.RangeFor(kClient).position, 2);
}

TEST(ListViewModel, OneLongCaptionMakesEveryTileTaller) {
    EXPECT_EQ(ListOf(3, {1}).TileSize(), QSize(68, 97));
    ListViewModel empty;
    empty.ComputeTileSize([](const QString&) { return 17; });
    EXPECT_EQ(empty.TileSize(), QSize(0, 0));
    EXPECT_TRUE(empty.VisibleTiles(kClient).empty());
    EXPECT_EQ(empty.HitTest(QPoint(10, 10), kClient), -1);
}

TEST(ListViewModel, HitsFallOnTilesCutToTheArea) {
    ListViewModel list = ListOf(5);
    EXPECT_EQ(list.HitTest(QPoint(1, 1), kClient), 0);
    EXPECT_EQ(list.HitTest(QPoint(140, 40), kClient), 2);
    EXPECT_EQ(list.HitTest(QPoint(80, 90), kClient), 4);
    EXPECT_EQ(list.HitTest(QPoint(150, 90), kClient), -1);  // beyond the last item
    EXPECT_EQ(list.HitTest(QPoint(80, 101), kClient), -1);  // the border below the area
    EXPECT_EQ(list.HitTest(QPoint(0, 10), kClient), -1);

    EXPECT_FALSE(list.SetSelected(5, true));
    EXPECT_TRUE(list.SetSelected(4, true));
    EXPECT_EQ(list.GetItemValue(4), 104);
    EXPECT_EQ(list.GetItemValue(-1), 0);
    EXPECT_EQ(list.FindItemByValue(102), 2);
    EXPECT_EQ(list.FindItemByValue(7), -1);
    list.SetCurrent(3);
    list.Clear();
    EXPECT_EQ(list.GetCurrent(), 3);  // kept
}

ListViewSkin DistinctColours() {
    ListViewSkin skin;
    skin.windowBorder = SkinRgb(1, 1, 1);
    skin.background = SkinRgb(250, 250, 250);
    skin.text = SkinRgb(0, 0, 0);
    skin.imageBorder = SkinRgb(3, 3, 3);
    skin.selectedBackground = SkinRgb(4, 200, 4);
    skin.selectedText = SkinRgb(5, 5, 5);
    skin.selectedBorder = SkinRgb(6, 6, 6);
    skin.selectedImageBorder = SkinRgb(7, 7, 7);
    skin.activeBorder = SkinRgb(255, 0, 0);
    return skin;
}

TEST(ListViewPainter, TilesShowSelectionCurrentnessAndMissingPictures) {
    ListViewModel list = ListOf(4);
    const QImage picture = test::Solid(20, 20, Qt::blue);
    list.AddItem(&picture, "", 1);
    list.ComputeTileSize([](const QString&) { return 17; });
    list.SetSelected(0, true);
    list.SetSelected(1, true);
    list.SetCurrent(0);
    const ListViewSkin skin = DistinctColours();
    QImage canvas = test::Solid(kClient.width(), kClient.height(), Qt::black);
    QPainter painter(&canvas);
    ListViewPainter::Paint(painter, kClient, list, skin);
    painter.end();
    const auto at = [&canvas](int x, int y) { return canvas.pixelColor(x, y); };
    EXPECT_EQ(at(0, 0), ToQColor(skin.windowBorder));
    EXPECT_EQ(at(1, 1), ToQColor(skin.activeBorder));     // current and selected: active border
    EXPECT_EQ(at(69, 1), ToQColor(skin.selectedBorder));  // selected only
    EXPECT_EQ(at(137, 1), ToQColor(skin.background));     // neither: no border
    EXPECT_EQ(at(1 + 9, 1 + 4), ToQColor(skin.selectedImageBorder));
    EXPECT_EQ(at(137 + 9, 1 + 4), ToQColor(skin.imageBorder));
    // No picture: the square shows the tile's background; item 4 is stretched to 48 x 48.
    EXPECT_EQ(at(1 + 30, 1 + 30), ToQColor(skin.selectedBackground));
    EXPECT_EQ(at(137 + 30, 1 + 30), ToQColor(skin.background));
    EXPECT_EQ(at(69 + 10, 81 + 5), QColor(Qt::blue));
    EXPECT_EQ(at(69 + 57, 100), QColor(Qt::blue));
    EXPECT_EQ(at(69 + 30, 101), ToQColor(skin.windowBorder));  // the cut row stops at the area
}

TEST(ParvelListView, ClicksMakeTilesCurrentAndScrollingFollowsTheBar) {
    test::Host host;
    const auto skin = CreateDefaultSkin(1.0);
    ParvelListView view(4000, host.widget());
    view.setGeometry(10, 10, kClient.width(), kClient.height());
    view.show();
    EXPECT_EQ(view.ScrollBar().geometry(), QRect(211, 1, 12, 100));
    for (int i = 0; i < 7; ++i) view.AddItem(nullptr, QString("Effect %1").arg(i), i);
    // Before any skin the bar keeps its first range, and moving it moves nothing.
    EXPECT_EQ(view.ScrollBar().Model().Maximum(), 100);
    EXPECT_EQ(view.ScrollBar().GetPosition(), 50);
    view.ApplySkin(*skin);
    const QSize tile = view.Model().TileSize();
    ASSERT_EQ(tile.width(), 68);
    const int rows = (7 + 2) / 3;
    const int visible = std::max(1, 100 / tile.height());
    EXPECT_EQ(view.ScrollBar().Model().Maximum(), std::max(rows - visible, 0));

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
    EXPECT_EQ(view.ScrollBar().GetPosition(), 1);
    EXPECT_EQ(view.Model().FirstVisible(), 3);
}

}  // namespace
}  // namespace lumora
