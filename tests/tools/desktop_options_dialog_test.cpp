#include "tools/desktop_options_dialog.h"

#include "platform/message_recorder.h"
#include "tools/desktop_rect_picker.h"
#include "tools/image_options_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace lumora {
namespace {

using Band = DesktopRectPicker::Band;

class DesktopOptionsDialogTest : public ::testing::Test {
protected:
    void Type(int id, const char* text) { dialog_.Control<QLineEdit>(id)->setText(text); }
    std::string Field(int id) { return dialog_.Control<QLineEdit>(id)->text().toStdString(); }
    // The text of the message OK showed, or "" when the dialog accepted.
    std::string PressOk() {
        messages_.Clear();
        dialog_.Control<QPushButton>(TemplateDialog::kIdOk)->click();
        return messages_.Messages().empty() ? "" : messages_.Messages().back().text;
    }

    MessageRecorder messages_;
    DesktopOptionsDialog dialog_{640, 480, 5, ZImageRect{0, 0, 640, 480}, nullptr, QSize(1024, 768)};
};

TEST(ImageOptionsDialog, TheCurrentValuesArePreselectedAndOkTakesTheChoice) {
    ImageOptionsDialog dialog(320, 240, 15, nullptr);
    EXPECT_EQ(dialog.Control<QComboBox>(ImageOptionsDialog::kIdSizes)->currentText(), "320x240");
    EXPECT_EQ(dialog.Control<QComboBox>(ImageOptionsDialog::kIdRates)->currentText(), "15");
    dialog.Control<QComboBox>(ImageOptionsDialog::kIdSizes)->setCurrentIndex(0);
    dialog.Control<QComboBox>(ImageOptionsDialog::kIdRates)->setCurrentIndex(5);
    dialog.Control<QPushButton>(TemplateDialog::kIdOk)->click();
    EXPECT_EQ(dialog.result(), TemplateDialog::kIdOk);
    EXPECT_EQ(dialog.ChosenWidth(), 160);
    EXPECT_EQ(dialog.ChosenRate(), 30);
}

TEST_F(DesktopOptionsDialogTest, OkChecksTheRectangleAgainstTheScreenInOrder) {
    const std::string outside = "Incorrect rectangle values! Rectangle must be within visible desktop area.";
    const std::string small = "Incorrect rectangle values! Rectangle must be at least 10x10 pixels.";
    EXPECT_EQ(Field(DesktopOptionsDialog::kIdWidth), "640");
    Type(DesktopOptionsDialog::kIdX, "1015");
    Type(DesktopOptionsDialog::kIdWidth, "9");
    EXPECT_EQ(PressOk(), outside);
    EXPECT_EQ(messages_.Messages().back().flags, mb::kIconInformation);
    Type(DesktopOptionsDialog::kIdX, "");
    EXPECT_EQ(PressOk(), outside);
    Type(DesktopOptionsDialog::kIdX, "1014");
    EXPECT_EQ(PressOk(), small);
    Type(DesktopOptionsDialog::kIdWidth, "");
    EXPECT_EQ(PressOk(), small);
    Type(DesktopOptionsDialog::kIdWidth, "1024");
    Type(DesktopOptionsDialog::kIdHeight, "769");
    EXPECT_EQ(PressOk(), small);
    Type(DesktopOptionsDialog::kIdHeight, "768");
    EXPECT_EQ(PressOk(), "");
    EXPECT_EQ(dialog_.result(), TemplateDialog::kIdOk);
    const ZImageRect& rect = dialog_.ChosenRect();
    EXPECT_EQ(rect.left, 1014);
    EXPECT_EQ(rect.right, 2038);  // past the right edge, as typed
    EXPECT_EQ(rect.bottom, 768);
}

TEST_F(DesktopOptionsDialogTest, ThePickerFillsTheFieldsEitherWayAndEscLeavesThemAlone) {
    EXPECT_EQ(DesktopRectPicker::BandOf({100, 200}, {419, 439}), (Band{100, 200, 420, 440}));
    EXPECT_EQ(DesktopRectPicker::BandOf({419, 439}, {100, 200}), (Band{100, 200, 420, 440}));

    dialog_.Control<QPushButton>(DesktopOptionsDialog::kIdSelect)->click();
    QPointer<DesktopRectPicker> picker = dialog_.Picker();
    ASSERT_TRUE(picker);
    QTest::mousePress(picker, Qt::LeftButton, {}, QPoint(419, 439));
    QTest::mouseMove(picker, QPoint(200, 300));
    QTest::mouseRelease(picker, Qt::LeftButton, {}, QPoint(100, 200));
    EXPECT_EQ(Field(DesktopOptionsDialog::kIdX), "100");
    EXPECT_EQ(Field(DesktopOptionsDialog::kIdY), "200");
    EXPECT_EQ(Field(DesktopOptionsDialog::kIdWidth), "320");
    EXPECT_EQ(Field(DesktopOptionsDialog::kIdHeight), "240");
    QTest::qWait(20);  // the closed picker deletes itself
    EXPECT_FALSE(picker);

    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Space}) {
        dialog_.Control<QPushButton>(DesktopOptionsDialog::kIdSelect)->click();
        picker = dialog_.Picker();
        ASSERT_TRUE(picker);
        QTest::mousePress(picker, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(picker, QPoint(50, 60));
        QTest::keyClick(picker, key);
        QTest::qWait(20);
        EXPECT_FALSE(picker);
        EXPECT_EQ(Field(DesktopOptionsDialog::kIdX), "100");
        EXPECT_EQ(Field(DesktopOptionsDialog::kIdWidth), "320");
    }
}

}  // namespace
}  // namespace lumora
