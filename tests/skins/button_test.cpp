#include "control_test_support.h"
#include "skins/button_painter.h"
#include "skins/parvel_button.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QPainter>

namespace lumora {
namespace {

using test::Notes;

TEST(ButtonModel, PressDragOffAndBackClicksOnceOnlyWhenReleasedInside) {
    ButtonModel button;
    EXPECT_TRUE(button.Press(true));
    EXPECT_EQ(button.State(), ButtonState::kPressed);
    EXPECT_FALSE(button.Press(true));  // a second press changes nothing
    EXPECT_TRUE(button.MouseMove(false));
    EXPECT_EQ(button.State(), ButtonState::kPressedOutside);
    EXPECT_EQ(button.FaceFor(true), ButtonModel::Face::kOver);
    EXPECT_TRUE(button.MouseMove(true));
    EXPECT_EQ(button.State(), ButtonState::kPressed);
    const ButtonModel::Release inside = button.ReleaseAt(true);
    EXPECT_TRUE(inside.clicked);
    EXPECT_EQ(button.State(), ButtonState::kOver);
    EXPECT_FALSE(button.ReleaseAt(true).clicked);  // no press before it

    button.Press(true);
    button.MouseMove(false);
    const ButtonModel::Release outside = button.ReleaseAt(false);
    EXPECT_TRUE(outside.repaint);
    EXPECT_FALSE(outside.clicked);
    EXPECT_EQ(button.State(), ButtonState::kNormal);
}

TEST(ButtonModel, TheHoverCheckNoticesThePointerLeavingUnlessPressed) {
    ButtonModel button;
    EXPECT_FALSE(button.HoverTimerRunning());
    EXPECT_TRUE(button.MouseMove(true));
    EXPECT_TRUE(button.HoverTimerRunning());
    EXPECT_FALSE(button.HoverTick(true));
    EXPECT_TRUE(button.HoverTimerRunning());
    button.Press(true);
    EXPECT_FALSE(button.HoverTick(false));  // pressed: the timer keeps running
    EXPECT_TRUE(button.HoverTimerRunning());
    button.ReleaseAt(true);
    EXPECT_TRUE(button.HoverTick(false));
    EXPECT_FALSE(button.HoverTimerRunning());
    EXPECT_EQ(button.State(), ButtonState::kNormal);
}

TEST(ButtonModel, DisabledShowsItsOwnFaceAndKeysPressLikeTheMouse) {
    ButtonModel button;
    button.MouseMove(true);
    EXPECT_EQ(button.FaceFor(false), ButtonModel::Face::kDisabled);
    button.Press(true);
    EXPECT_EQ(button.FaceFor(false), ButtonModel::Face::kDisabled);
    EXPECT_TRUE(button.Cancel());
    EXPECT_EQ(button.FaceFor(true), ButtonModel::Face::kNormal);

    EXPECT_TRUE(button.KeyPress());
    EXPECT_EQ(button.FaceFor(true), ButtonModel::Face::kPressed);
    EXPECT_TRUE(button.KeyRelease().clicked);
    EXPECT_FALSE(button.KeyRelease().clicked);
    button.KeyPress();
    EXPECT_TRUE(button.DropKeyPress());
    EXPECT_FALSE(button.KeyRelease().clicked);
}

TEST(ButtonPainter, EachFaceDrawsItsPictureOverTheWholeButton) {
    const test::FourFaces faces(20);
    const struct {
        ButtonModel::Face face;
        QColor colour;
    } cases[] = {{ButtonModel::Face::kNormal, Qt::red},
                 {ButtonModel::Face::kOver, Qt::green},
                 {ButtonModel::Face::kPressed, Qt::blue},
                 {ButtonModel::Face::kDisabled, Qt::gray}};
    for (const auto& c : cases) {
        QImage canvas = test::Solid(13, 78, Qt::white);
        QPainter painter(&canvas);
        ButtonPainter::Paint(painter, canvas.rect(), faces.Bitmaps(), c.face);
        painter.end();
        EXPECT_EQ(canvas.pixelColor(0, 0), c.colour);
        EXPECT_EQ(canvas.pixelColor(12, 77), c.colour);
    }
    QImage untouched = test::Solid(20, 20, Qt::white);
    QPainter painter(&untouched);
    ButtonPainter::Paint(painter, untouched.rect(), ButtonBitmaps{}, ButtonModel::Face::kNormal);
    EXPECT_EQ(untouched.pixelColor(10, 10), QColor(Qt::white));
}

TEST(ParvelButton, MouseClicksNotifyOnlyWhenReleasedOverTheButton) {
    test::Host host;
    const test::FourFaces faces(20);
    ParvelButton button(2018, host.widget());
    button.setGeometry(10, 10, 20, 20);
    button.SetBitmaps(faces.Bitmaps());
    button.show();
    Notes notes;
    test::Record(button, notes);
    EXPECT_EQ(button.objectName(), "2018");

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::blue));
    QTest::mouseMove(&button, QPoint(60, 60));
    EXPECT_EQ(button.Model().State(), ButtonState::kPressedOutside);
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::green));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_TRUE(notes.empty());

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(notes, (Notes{{2018, 0}}));

    button.Enable(false);
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::gray));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(notes.size(), 1u);
}

TEST(ParvelButton, HoverEndsWithinTheCheckPeriodAfterThePointerLeaves) {
    test::Host host;
    ParvelButton button(1, host.widget());
    button.setGeometry(10, 10, 20, 20);
    button.show();
    QCursor::setPos(button.mapToGlobal(QPoint(5, 5)));
    QTest::mouseMove(&button, QPoint(5, 5));
    EXPECT_EQ(button.Model().State(), ButtonState::kOver);
    // The pointer leaves without the button hearing of it.
    QCursor::setPos(host.widget()->mapToGlobal(QPoint(300, 200)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return button.Model().State() == ButtonState::kNormal; },
                                4 * ParvelButton::kHoverCheckMs));
    EXPECT_FALSE(button.Model().HoverTimerRunning());

    // A leave the window system reports ends the hover without waiting.
    QTest::mouseMove(&button, QPoint(5, 5));
    ASSERT_EQ(button.Model().State(), ButtonState::kOver);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.Model().State(), ButtonState::kNormal);
}

TEST(ParvelButton, KeyboardAndScreenReadersClickItToo) {
    test::Host host;
    ParvelButton button(7, host.widget());
    button.setGeometry(10, 10, 20, 20);
    button.SetText("Close");
    button.show();
    Notes notes;
    test::Record(button, notes);
    EXPECT_EQ(button.focusPolicy(), Qt::TabFocus);
    button.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button.hasFocus(); }));
    EXPECT_EQ(test::PixelOf(button, {0, 0}), button.palette().color(QPalette::Highlight));
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(notes, (Notes{{7, 0}, {7, 0}}));

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&button);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Close");
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(notes.size(), 3u);
}

}  // namespace
}  // namespace lumora
