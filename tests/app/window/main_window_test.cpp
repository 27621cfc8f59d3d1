#include "app/window/main_window.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(MainWindow, TheOptionsWindowComesBackFromTheTrayOnlyIfItWasShown) {
    MainWindow window;
    QWidget options;
    window.SetOptionsWindow(&options);
    window.Layout(QSize(320, 240));
    options.show();
    window.ToggleMainWindow(true);  // into the tray, with the options window
    EXPECT_EQ(std::tuple(window.isHidden(), options.isHidden()), std::tuple(true, true));
    window.ToggleMainWindow(true);  // back, and so is the options window
    EXPECT_EQ(std::tuple(window.isVisible(), options.isVisible()), std::tuple(true, true));

    options.hide();
    window.ToggleMainWindow(true);
    window.ToggleMainWindow(true);
    EXPECT_EQ(std::tuple(window.isVisible(), options.isHidden()), std::tuple(true, true));  // it stays hidden
}

TEST(MainWindow, TheCaptionBandDragsTheWindow) {
    MainWindow window;
    window.Layout(QSize(640, 480));
    const QPoint start = window.pos();
    auto drag = [&window](QPoint from, QPoint by) {
        QTest::mousePress(&window, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + by), QPointF(window.mapToGlobal(from + by)), Qt::NoButton,
                         Qt::LeftButton, {});
        QCoreApplication::sendEvent(&window, &move);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, from + by);
    };
    drag(QPoint(670, 10), QPoint(30, 20));  // beside Minimize: not the caption
    drag(QPoint(200, 40), QPoint(30, 20));  // below the band
    EXPECT_EQ(window.pos(), start);
    drag(QPoint(200, 10), QPoint(30, 20));
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
}

}  // namespace
}  // namespace lumora
