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
TEST(ParvelButton, MouseKeysAndScreenReadersClickItAndTheHoverEndsWhenThePointerLeaves) {
    ButtonModel model;
    EXPECT_FALSE(model.ReleaseAt(true).clicked);  // no press before it
    EXPECT_TRUE(model.Press(true));
    EXPECT_FALSE(model.Press(true));  // a second press changes nothing
    model.MouseMove(false);           // pressed outside: the release there is ParvelButton's
    EXPECT_FALSE(model.HoverTick(false)) << "pressed: the hover holds";
    EXPECT_EQ(model.FaceFor(false), ButtonModel::Face::kDisabled);
    model.ReleaseAt(false);

    model.Press(true);
    EXPECT_TRUE(model.Cancel());
    EXPECT_EQ(model.FaceFor(true), ButtonModel::Face::kNormal);
    EXPECT_FALSE(model.HoverTimerRunning());
    EXPECT_TRUE(model.KeyPress());
    EXPECT_EQ(model.FaceFor(true), ButtonModel::Face::kPressed);
    EXPECT_TRUE(model.KeyRelease().clicked && !model.KeyRelease().clicked);
    model.KeyPress();
    EXPECT_TRUE(model.DropKeyPress());  // the focus moved on: no click
    EXPECT_FALSE(model.KeyRelease().clicked);

    // Mouse clicks notify only when released over the button; keys and screen readers click
    // it too; the hover ends within the check period after the pointer leaves; disabled, it
    // shows its own face and takes no clicks.
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

    button.Enable(false);
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::gray));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(notes.size(), 4u);
}

}  // namespace
}  // namespace lumora
