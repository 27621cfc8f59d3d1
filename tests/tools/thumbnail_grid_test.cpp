#include "tools/thumbnail_grid.h"
#include "tools/thumbnail_painter.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace lumora {
namespace {

// Cells of 132 x (90 + 6 + 6): item 120 x 90, margin 6, labels 6 high.
ThumbnailLayout MakeLayout(int items, QSize client) {
    ThumbnailLayout layout(QSize(120, 90), 6, [](const QString&, int) { return 6; });
    layout.SetClientSize(client);
    for (int i = 0; i < items; ++i) layout.Add({QImage(), QString::number(i), i});
    return layout;
}

TEST(ThumbnailLayout, RowsScrollWholeAndClicksOutsideTheCellsHitNothing) {
    ThumbnailLayout layout = MakeLayout(7, QSize(400, 2 * 102 + 50));
    EXPECT_EQ(layout.CellSize(), QSize(132, 102));
    EXPECT_EQ(layout.Columns(), 3);
    EXPECT_EQ(layout.Selected(), 0);
    ThumbnailLayout::ScrollState scroll = layout.Scroll();
    EXPECT_TRUE(scroll.enabled);
    EXPECT_EQ(scroll.rowCount, 3);
    EXPECT_EQ(scroll.page, 2);
    EXPECT_EQ(scroll.maximum, 1);

    layout.ScrollToRow(99);  // the bottom
    EXPECT_EQ(layout.FirstVisible(), 3);
    std::vector<int> shown;
    for (const ThumbnailLayout::Cell& cell : layout.PlacedCells()) shown.push_back(cell.index);
    EXPECT_EQ(shown, (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(layout.PlacedCells().front().rect.topLeft(), QPoint(0, 0));
    EXPECT_EQ(layout.HitTest(QPoint(140, 10)), 4);
    EXPECT_EQ(layout.HitTest(QPoint(396 + 2, 10)), -1);  // between the third cell and the edge

    layout.Clear();
    EXPECT_FALSE(layout.Scroll().enabled);
    EXPECT_EQ(layout.Selected(), -1);
    EXPECT_EQ(layout.FirstVisible(), 0);
}

TEST(ThumbnailPainter, APictureIsCentredAndAMissingOneIsABlackArea) {
    ThumbnailLayout layout = MakeLayout(0, QSize(300, 120));
    QImage red(110, 90, QImage::Format_RGB32);
    red.fill(Qt::red);
    layout.Add({red, "176x144", 0});
    layout.Add({QImage(), "none", 1});
    QImage canvas(300, 120, QImage::Format_RGB32);
    QPainter painter(&canvas);
    ThumbnailPainter::Paint(painter, layout, canvas.size(), Qt::black);
    painter.end();
    // Item 0 is selected: light grey around the picture, which is 5 pixels in from each side.
    EXPECT_EQ(canvas.pixelColor(6 + 4, 50), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(canvas.pixelColor(6 + 5, 50), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(6 + 114, 50), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(6 + 115, 50), QColor(0xC0, 0xC0, 0xC0));
    // Item 1, not selected: white cell, black picture area.
    EXPECT_EQ(canvas.pixelColor(132 + 3, 50), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(132 + 60, 50), QColor(Qt::black));
}

TEST(ThumbnailGrid, TheScrollBarFollowsTheItemsAndScrollsWholeRows) {
    ThumbnailGrid grid(QSize(120, 90), 6);
    grid.resize(425, 230);
    EXPECT_FALSE(grid.ScrollBar()->isEnabled());
    for (int i = 0; i < 7; ++i) grid.AddItem({QImage(), QString("%1x%1").arg(i), i});
    EXPECT_TRUE(grid.ScrollBar()->isEnabled());
    EXPECT_EQ(grid.ScrollBar()->maximum(), grid.Layout().Scroll().maximum);

    grid.ScrollBar()->setValue(grid.ScrollBar()->maximum());
    EXPECT_EQ(grid.Layout().FirstVisible() % grid.Layout().Columns(), 0);
    EXPECT_GT(grid.Layout().FirstVisible(), 0);
}

}  // namespace
}  // namespace lumora
