#include "control_test_support.h"
#include "skins/parvel_simple_tab.h"
#include "skins/tab_strip_painter.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPainter>

#include <tuple>

namespace lumora {
namespace {

using test::Notes;

// Clicks, arrows and the strip's size are driven through ParvelSimpleTab below.
TEST(ParvelSimpleTab, TheCurrentTabShowsItsActivePictureAndClicksAndArrowsChangeTabsAndNotifyOnce) {
    const QImage normal = test::Solid(10, 10, Qt::gray);
    const QImage active = test::Solid(30, 7, Qt::red);
    TabStripModel tabs(48, 21);
    tabs.AddTab({&normal, &active, "Filters"});
    tabs.AddTab({&normal, &active, "Effects"});
    EXPECT_EQ(std::vector<int>({tabs.HitTest(47), tabs.HitTest(48), tabs.HitTest(96)}), std::vector<int>({0, 1, -1}));
    EXPECT_TRUE(tabs.Select(1));
    QImage canvas = test::Solid(96, 21, Qt::white);
    QPainter painter(&canvas);
    TabStripPainter::Paint(painter, tabs);
    painter.end();
    // Each tab's picture stretched to the tab.
    const test::Pixel pixels[] = {{0, 0, Qt::gray}, {47, 20, Qt::gray}, {48, 0, Qt::red}, {95, 20, Qt::red}};
    test::ExpectPixels(canvas, pixels);
    tabs.ClearTabs();
    EXPECT_EQ(tabs.GetCurrent(), 1);

    // The strip: clicks and arrows change tabs and notify once.
    test::Host host;
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
    EXPECT_EQ(std::tuple(strip.GetCurrent(), test::PixelOf(strip, {60, 10})), std::tuple(1, QColor(Qt::red)));
    strip.resize(200, 21);
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(150, 10));  // right of the last tab
    EXPECT_EQ(notes, (Notes{{2000, -551}}));

    strip.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.hasFocus(); }));
    QTest::keyClick(&strip, Qt::Key_Right);  // no tab further right
    QTest::keyClick(&strip, Qt::Key_Left);
    EXPECT_EQ(std::tuple(strip.GetCurrent(), notes.size()), std::tuple(0, std::size_t{2}));

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&strip);
    ASSERT_TRUE(accessible && accessible->role() == QAccessible::PageTabList);
    EXPECT_EQ(accessible->text(QAccessible::Value), "Filters");

    strip.ClearTabs();
    EXPECT_EQ(strip.size(), QSize(48, 21));
}

}  // namespace
}  // namespace lumora
