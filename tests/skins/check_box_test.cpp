#include "control_test_support.h"
#include "skins/check_box_painter.h"
#include "skins/parvel_check_box.h"
#include "skins/themed_skin.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPainter>

namespace lumora {
namespace {

using test::Notes;

// The first column, from the left, holding a pixel of the text colour's darkness.
int FirstInkColumn(const QImage& image) {
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y).lightness() < 128) return x;
        }
    }
    return -1;
}

TEST(ParvelCheckBox, TheLabelStartsClearOfTheBoxAndClickingItOrSpaceTogglesAndNotifiesButSetCheckDoesNot) {
    const CheckBoxPainter::Look look{{"", 8, 0, 0, 0}, SkinRgb(0, 0, 0), SkinRgb(255, 255, 255)};
    for (const auto& [height, left] : {std::pair{18, 18}, std::pair{30, 30}, std::pair{12, 12}}) {
        EXPECT_EQ(CheckBoxModel::LabelRect(QRect(0, 0, 200, height)).left(), left);
        QImage canvas = test::Solid(200, height, Qt::red);
        QPainter painter(&canvas);
        CheckBoxPainter::Paint(painter, canvas.rect(), "Hello", look, true);
        painter.end();
        EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::white));  // the background everywhere
        const int ink = FirstInkColumn(canvas);
        EXPECT_TRUE(ink >= left && ink <= left + 2) << height << ": " << ink;
    }

    // The box: clicks on it and Space toggle and notify, SetCheck does not.
    test::Host host;
    const auto skin = CreateDefaultSkin(1.0);
    ParvelCheckBox box(2012, "Enable face detection/tracking", host.widget());
    box.setGeometry(15, 27, 200, 18);
    box.ApplySkin(*skin);
    box.show();
    Notes notes;
    test::Record(box, notes);
    EXPECT_EQ(box.Box().pos(), QPoint(0, 3));
    EXPECT_EQ(box.Box().Bitmaps().normal, skin->checkBox.unchecked.normal);

    QTest::mouseClick(&box.Box(), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(notes, (Notes{{2012, 0}}));
    EXPECT_EQ(box.Box().Bitmaps().normal, skin->checkBox.checked.normal);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(100, 9));  // the label does nothing
    EXPECT_EQ(notes.size(), 1u);

    box.SetCheck(false);
    EXPECT_TRUE(!box.IsChecked() && box.Box().Bitmaps().normal == skin->checkBox.unchecked.normal && notes.size() == 1);

    // Space toggles it, and screen readers see and change the state.
    box.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.hasFocus(); }));
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(notes, (Notes{{2012, 0}, {2012, 0}}));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    ASSERT_TRUE(accessible && accessible->role() == QAccessible::CheckBox);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Enable face detection/tracking");
    EXPECT_TRUE(accessible->state().checkable && accessible->state().checked);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(box.IsChecked() || accessible->state().checked);

    box.resize(200, 30);
    EXPECT_EQ(box.Box().pos(), QPoint(0, 9));
    box.Enable(false);
    EXPECT_FALSE(box.Box().isEnabled());
}

}  // namespace
}  // namespace lumora
