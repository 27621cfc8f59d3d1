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

class DesktopOptionsDialogTest : public ::testing::Test {
protected:
    void Type(int id, const char* text) { dialog_.Control<QLineEdit>(id)->setText(text); }
    std::string Field(int id) { return dialog_.Control<QLineEdit>(id)->text().toStdString(); }
    // The text and flags of the message OK showed, or ("", 0) when the dialog accepted.
    std::tuple<std::string, unsigned> PressOk() {
        messages_.Clear();
        dialog_.Control<QPushButton>(TemplateDialog::kIdOk)->click();
        if (messages_.Messages().empty()) return {"", 0};
        return {messages_.Messages().back().text, messages_.Messages().back().flags};
    }

    MessageRecorder messages_;
    DesktopOptionsDialog dialog_{640, 480, 5, ZImageRect{0, 0, 640, 480}, nullptr, QSize(1024, 768)};
};

TEST(ImageOptionsDialog, TheCurrentValuesArePreselectedAndOkTakesTheChoice) {
    ImageOptionsDialog dialog(320, 240, 15, nullptr);
    EXPECT_EQ(std::tuple(dialog.Control<QComboBox>(ImageOptionsDialog::kIdSizes)->currentText(),
                         dialog.Control<QComboBox>(ImageOptionsDialog::kIdRates)->currentText()),
              std::tuple("320x240", "15"));
    dialog.Control<QComboBox>(ImageOptionsDialog::kIdSizes)->setCurrentIndex(0);
    dialog.Control<QComboBox>(ImageOptionsDialog::kIdRates)->setCurrentIndex(5);
    dialog.Control<QPushButton>(TemplateDialog::kIdOk)->click();
    EXPECT_EQ(std::tuple(dialog.result(), dialog.ChosenWidth(), dialog.ChosenRate()),
              std::tuple(TemplateDialog::kIdOk, 160, 30));
}

TEST_F(DesktopOptionsDialogTest, ThePickerFillsTheFieldsEitherWayEscLeavesThemAloneAndOkChecksThem) {
    EXPECT_EQ(Field(DesktopOptionsDialog::kIdWidth), "640");
    dialog_.Control<QPushButton>(DesktopOptionsDialog::kIdSelect)->click();
    QPointer<DesktopRectPicker> picker = dialog_.Picker();
    ASSERT_TRUE(picker);
    QTest::mousePress(picker, Qt::LeftButton, {}, QPoint(419, 439));
    QTest::mouseMove(picker, QPoint(200, 300));
    QTest::mouseRelease(picker, Qt::LeftButton, {}, QPoint(100, 200));
    const auto fields = [this] {
        return std::tuple(Field(DesktopOptionsDialog::kIdX), Field(DesktopOptionsDialog::kIdY),
                          Field(DesktopOptionsDialog::kIdWidth), Field(DesktopOptionsDialog::kIdHeight));
    };
    EXPECT_EQ(fields(), std::tuple("100", "200", "320", "240"));
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
        EXPECT_EQ(fields(), std::tuple("100", "200", "320", "240"));
    }

    const std::string kOutside = "Incorrect rectangle values! Rectangle must be within visible desktop area.";
    const std::string kSmall = "Incorrect rectangle values! Rectangle must be at least 10x10 pixels.";
    // OK checks the rectangle against the screen in order. Each row types one field over
    // the ones before it; OK says the rectangle is outside the screen, or else too small.
    const std::tuple<int, const char*, bool> steps[] = {
        {DesktopOptionsDialog::kIdX, "1015", true},     {DesktopOptionsDialog::kIdWidth, "9", true},
        {DesktopOptionsDialog::kIdX, "", true},         {DesktopOptionsDialog::kIdX, "1014", false},
        {DesktopOptionsDialog::kIdWidth, "", false},    {DesktopOptionsDialog::kIdHeight, "769", false},
        {DesktopOptionsDialog::kIdWidth, "1024", false}};
    for (const auto& [field, text, outside] : steps) {
        Type(field, text);
        EXPECT_EQ(PressOk(), std::tuple(outside ? kOutside : kSmall, mb::kIconInformation)) << field << " " << text;
    }
    Type(DesktopOptionsDialog::kIdHeight, "768");
    EXPECT_EQ(PressOk(), std::tuple("", 0u));
    EXPECT_EQ(dialog_.result(), TemplateDialog::kIdOk);
    const ZImageRect& rect = dialog_.ChosenRect();
    EXPECT_EQ(std::tuple(rect.left, rect.right, rect.bottom),
              std::tuple(1014, 2038, 200 + 768));  // past the right edge
}

}  // namespace
}  // namespace lumora
