#include "control_test_support.h"
#include "skins/parvel_button.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCursor>

#include <tuple>

namespace lumora {
namespace {

using test::Notes;

// The mouse path and the hover check are driven through ParvelButton below; what the
// widget cannot easily reach is checked on the model.
TEST(ButtonModel, PressesHoldUntilReleasedAndKeysPressLikeTheMouse) {
    ButtonModel button;
    EXPECT_FALSE(button.ReleaseAt(true).clicked);  // no press before it
    EXPECT_TRUE(button.Press(true));
    EXPECT_FALSE(button.Press(true));  // a second press changes nothing
    button.MouseMove(false);           // pressed outside: the release there is ParvelButton's
    EXPECT_FALSE(button.HoverTick(false)) << "pressed: the hover holds";
    EXPECT_EQ(button.FaceFor(false), ButtonModel::Face::kDisabled);
    button.ReleaseAt(false);

    button.Press(true);
    EXPECT_TRUE(button.Cancel());
    EXPECT_EQ(button.FaceFor(true), ButtonModel::Face::kNormal);
    EXPECT_FALSE(button.HoverTimerRunning());
    EXPECT_TRUE(button.KeyPress());
    EXPECT_EQ(button.FaceFor(true), ButtonModel::Face::kPressed);
    EXPECT_TRUE(button.KeyRelease().clicked && !button.KeyRelease().clicked);
    button.KeyPress();
    EXPECT_TRUE(button.DropKeyPress());  // the focus moved on: no click
    EXPECT_FALSE(button.KeyRelease().clicked);
}

// Mouse clicks notify only when released over the button; keys and screen readers click
// it too; disabled, it shows its own face and takes no clicks.
TEST(ParvelButton, MouseKeysAndScreenReadersClickIt) {
    test::Host host;
    // Normal red, over green, pressed blue, disabled grey.
    const QImage faces[] = {test::Solid(20, 20, Qt::red), test::Solid(20, 20, Qt::green), test::Solid(20, 20, Qt::blue),
                            test::Solid(20, 20, Qt::gray)};
    ParvelButton button(2018, host.widget());
    button.setGeometry(10, 10, 20, 20);
    button.SetBitmaps({&faces[0], &faces[1], &faces[2], &faces[3]});
    button.SetText("Close");
    button.show();
    Notes notes;
    test::Record(button, notes);
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::red));

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::blue));
    QTest::mouseMove(&button, QPoint(60, 60));
    EXPECT_EQ(std::tuple(button.Model().State(), test::PixelOf(button, {10, 10})),
              std::tuple(ButtonState::kPressedOutside, QColor(Qt::green)));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_TRUE(notes.empty());
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(notes, (Notes{{2018, 0}}));

    EXPECT_EQ(button.focusPolicy(), Qt::TabFocus);
    button.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button.hasFocus(); }));
    EXPECT_EQ(test::PixelOf(button, {0, 0}), button.palette().color(QPalette::Highlight));
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&button);
    ASSERT_TRUE(accessible && accessible->role() == QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Close");
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(notes, (Notes(4, {2018, 0})));

    button.Enable(false);
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::gray));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(notes.size(), 4u);
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

}  // namespace
}  // namespace lumora
