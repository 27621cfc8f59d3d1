#include "control_test_support.h"
#include "skins/parvel_simple_tab.h"
#include "skins/tab_strip_painter.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPainter>

namespace lumora {
namespace {

using test::Notes;

TEST(TabStripModel, HitsSelectOnlyOtherExistingTabs) {
    TabStripModel tabs(48, 21);
    EXPECT_EQ(tabs.StripSize(), QSize(48, 21));
    tabs.AddTab({});
    tabs.AddTab({});
    EXPECT_EQ(tabs.StripSize(), QSize(96, 21));
    EXPECT_EQ(tabs.HitTest(47), 0);
    EXPECT_EQ(tabs.HitTest(48), 1);
    EXPECT_EQ(tabs.HitTest(96), -1);
    EXPECT_FALSE(tabs.Select(0));  // already current
    EXPECT_FALSE(tabs.Select(2));
    EXPECT_TRUE(tabs.Select(1));
    tabs.ClearTabs();
    EXPECT_EQ(tabs.GetCurrent(), 1);  // survives clearing
    EXPECT_EQ(tabs.StripSize(), QSize(48, 21));
}

TEST(TabStripPainter, TheCurrentTabShowsItsActivePictureStretchedToTheTab) {
    const QImage normal = test::Solid(10, 10, Qt::gray);
    const QImage active = test::Solid(30, 7, Qt::red);
    TabStripModel tabs(48, 21);
    tabs.AddTab({&normal, &active, "Filters"});
    tabs.AddTab({&normal, &active, "Effects"});
    tabs.Select(1);
    QImage canvas = test::Solid(96, 21, Qt::white);
    QPainter painter(&canvas);
    TabStripPainter::Paint(painter, tabs);
    painter.end();
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::gray));
    EXPECT_EQ(canvas.pixelColor(47, 20), QColor(Qt::gray));
    EXPECT_EQ(canvas.pixelColor(48, 0), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(95, 20), QColor(Qt::red));
}

TEST(ParvelSimpleTab, ClicksAndArrowsChangeTabsAndNotifyOnce) {
    test::Host host;
    const QImage normal = test::Solid(48, 21, Qt::gray);
    const QImage active = test::Solid(48, 21, Qt::red);
    ParvelSimpleTab strip(2000, 48, 21, host.widget());
    strip.move(5, 12);
    strip.AddTab(&normal, &active, "Filters");
    strip.AddTab(&normal, &active, "Effects");
    EXPECT_EQ(strip.geometry(), QRect(5, 12, 96, 21));
    strip.show();
    Notes notes;
    test::Record(strip, notes);

    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(10, 10));  // already current
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_EQ(strip.GetCurrent(), 1);
    EXPECT_EQ(test::PixelOf(strip, {60, 10}), QColor(Qt::red));
    strip.resize(200, 21);
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(150, 10));  // right of the last tab
    EXPECT_EQ(notes, (Notes{{2000, -551}}));

    strip.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.hasFocus(); }));
    QTest::keyClick(&strip, Qt::Key_Right);  // no tab further right
    QTest::keyClick(&strip, Qt::Key_Left);
    EXPECT_EQ(strip.GetCurrent(), 0);
    EXPECT_EQ(notes.size(), 2u);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&strip);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::PageTabList);
    EXPECT_EQ(accessible->text(QAccessible::Value), "Filters");

    strip.ClearTabs();
    EXPECT_EQ(strip.size(), QSize(48, 21));
}

}  // namespace
}  // namespace lumora
