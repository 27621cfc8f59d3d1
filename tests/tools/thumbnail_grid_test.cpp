#include "tools/thumbnail_grid.h"
#include "tools/thumbnail_painter.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ThumbnailPainter, APictureIsCentredAndAMissingOneIsABlackArea) {
    // Cells of 132 x (90 + 6 + 6): item 120 x 90, margin 6, labels 6 high.
    ThumbnailLayout layout(QSize(120, 90), 6, [](const QString&, int) { return 6; });
    layout.SetClientSize(QSize(300, 120));
    QImage red(110, 90, QImage::Format_RGB32);
    red.fill(Qt::red);
    layout.Add({red, "176x144", 0});
    layout.Add({QImage(), "none", 1});
    QImage canvas(300, 120, QImage::Format_RGB32);
    QPainter painter(&canvas);
    ThumbnailPainter::Paint(painter, layout, canvas.size(), Qt::black);
    painter.end();
    // Item 0 is selected: light grey around the picture, which is 5 pixels in from each side.
    // Item 1, not selected: white cell, black picture area.
    const QColor grey(0xC0, 0xC0, 0xC0);
    for (const auto& [x, colour] :
         {std::pair{6 + 4, grey}, std::pair{6 + 5, QColor(Qt::red)}, std::pair{6 + 114, QColor(Qt::red)},
          std::pair{6 + 115, grey}, std::pair{132 + 3, QColor(Qt::white)}, std::pair{132 + 60, QColor(Qt::black)}})
        EXPECT_EQ(canvas.pixelColor(x, 50), colour) << x;
}

TEST(ThumbnailGrid, TheScrollBarFollowsTheItemsAndScrollsWholeRows) {
    ThumbnailGrid grid(QSize(120, 90), 6);
    grid.resize(425, 230);
    EXPECT_FALSE(grid.ScrollBar()->isEnabled());
    for (int i = 0; i < 7; ++i) grid.AddItem({QImage(), QString("%1x%1").arg(i), i});
    EXPECT_EQ(std::tuple(grid.ScrollBar()->isEnabled(), grid.ScrollBar()->maximum()),
              std::tuple(true, grid.Layout().Scroll().maximum));

    grid.ScrollBar()->setValue(grid.ScrollBar()->maximum());
    EXPECT_EQ(grid.Layout().FirstVisible() % grid.Layout().Columns(), 0);
    EXPECT_GT(grid.Layout().FirstVisible(), 0);
}

}  // namespace
}  // namespace lumora
