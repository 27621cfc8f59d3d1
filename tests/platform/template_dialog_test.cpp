#include "platform/template_dialog.h"
#include "platform/dialog_units.h"
#include "platform/label_fitter.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <tuple>
#include <vector>

namespace lumora {
namespace {

// Windows' own numbers: "MS Shell Dlg" 8 pt at 96 dpi has base units 6 x 13, and a
// 214 x 68 template opens with a 321 x 111 pixel client area.
TEST(DialogUnits, ConvertAsWindowsDoesAndComeFromTheFontWithTheDesktopsShellFont) {
    const DialogUnits units(6, 13);
    EXPECT_EQ(units.ToPixels(214, 68), QSize(321, 111));
    // Each field on its own, rounded to nearest: 304.5 -> 305, 9.75 -> 10, 16.25 -> 16.
    EXPECT_EQ(units.ToPixels(DialogRect{6, 6, 203, 10}), QRect(9, 10, 305, 16));
    EXPECT_EQ(std::tuple(units.ToPixelsX(-3), units.ToPixelsY(-1)), std::tuple(-5, -2));  // halves go away from zero
    EXPECT_EQ(DialogUnits(7, 15).ToPixels(DialogRect{111, 48, 50, 14}), QRect(194, 90, 88, 26));  // Segoe UI 9 pt
    EXPECT_EQ(DialogUnits(0, -4).ToPixels(8, 8), QSize(2, 1));  // a degenerate font still gives a dialog

    // The units follow the font; the template's shell font is the desktop's, at the size asked.
    QFont small("DejaVu Sans");
    small.setPixelSize(12);
    QFont big = small;
    big.setPixelSize(24);
    EXPECT_NEAR(DialogUnits::ForFont(big).charHeight(), 2 * DialogUnits::ForFont(small).charHeight(), 2);
    const QFont desktop = QApplication::font();
    EXPECT_EQ(TemplateFont("ms shell dlg 2", 8), desktop);
    EXPECT_DOUBLE_EQ(TemplateFont("MS Shell Dlg", 16).pointSizeF(), 2 * desktop.pointSizeF());
    EXPECT_EQ(TemplateFont("DejaVu Serif", 11).family(), "DejaVu Serif");
}

// A dialog of 300 x 200 with a group box (10, 10, 200 x 100) and, in the group, an edit
// field right of the label's row and a button below it.
const QRect kDialog(0, 0, 300, 200);
const QRect kGroup(10, 10, 200, 100);
const QRect kEdit(120, 20, 80, 14);
const QRect kButton(20, 60, 80, 20);
const QRect kLabel(20, 20, 60, 14);

TEST(LabelFitter, ALineGrowsRightUpToItsNeighbourOrFrameAndAWrappedLabelThenGrowsDown) {
    const LabelFitter fitter(kDialog, {kGroup, kEdit, kButton});
    EXPECT_EQ(fitter.FitLine(kLabel, 50), kLabel);                     // fits: left as it is
    EXPECT_EQ(fitter.FitLine(kLabel, 75), QRect(20, 20, 75, 14));      // room enough
    EXPECT_EQ(fitter.FitLine(kLabel, 500).right(), kEdit.left() - 3);  // two pixels short of the edit

    // Without the edit the group's frame stops it; outside any group, the dialog's edge.
    EXPECT_EQ(LabelFitter(kDialog, {kGroup}).FitLine(kLabel, 500).right(), kGroup.right() - 4);
    EXPECT_EQ(LabelFitter(kDialog, {}).FitLine(QRect(250, 150, 20, 14), 500).right(), kDialog.right() - 2);

    // A control already touching its right edge leaves it as it was.
    const QRect touching(kLabel.right() + 1, 20, 30, 14);
    EXPECT_EQ(LabelFitter(kDialog, {touching}).FitLine(kLabel, 75), kLabel);

    const LabelFitter wrapping(kDialog, {kGroup, kButton});
    // The text takes 2000 / width pixels of height (lines of a 2000-pixel text).
    const auto heightFor = [](int width) { return 2000 / width; };
    EXPECT_EQ(wrapping.FitWrapped(QRect(20, 20, 100, 30), 2000, heightFor), QRect(20, 20, 100, 30));  // 20 high
    // 60 wide would need 33: widening to the frame (186 wide, 10 high) is enough.
    const QRect wider = wrapping.FitWrapped(QRect(20, 20, 60, 30), 2000, heightFor);
    EXPECT_EQ(wider, QRect(20, 20, kGroup.right() - 4 - 20 + 1, 30));

    // Hemmed in on the right by the edit, it widens to it and grows down until the button.
    const LabelFitter hemmed(kDialog, {kGroup, kEdit, kButton});
    const auto tall = [](int width) { return 6000 / width; };
    EXPECT_EQ(hemmed.FitWrapped(QRect(20, 20, 40, 10), 500, tall),
              QRect(QPoint(20, 20), QPoint(kEdit.left() - 3, kButton.top() - 3)))
        << "wanted 61 high";
}

// A dialog with an extra check box and push button, recording the commands it gets.
class SampleDialog : public TemplateDialog {
public:
    enum : int { kIdOption = 1100, kIdApply = 1101, kIdNarrow = 1102 };

    explicit SampleDialog(bool cancelAllowed = true)
            : TemplateDialog({"Sample", 200, 80}, nullptr), cancelAllowed_(cancelAllowed) {
        AddLabel(kNoId, {6, 16, 100, 8}, "No id");
        // Far too narrow for its text in any font, with free room on its right.
        AddLabel(kIdNarrow, {6, 4, 10, 8}, "A label cut short");
        AddCheckBox(kIdOption, {6, 26, 120, 10}, "Option");
        AddPushButton(kIdApply, {6, 60, 50, 14}, "Apply");
        AddDefaultPushButton(kIdOk, {80, 60, 50, 14}, "OK");
        AddPushButton(kIdCancel, {140, 60, 50, 14}, "Cancel");
        show();
    }
    std::vector<int> commands;

protected:
    void OnCommand(int id) override {
        commands.push_back(id);
        if (id != kIdCancel || cancelAllowed_) TemplateDialog::OnCommand(id);
    }

private:
    bool cancelAllowed_;
};

void Press(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

TEST(TemplateDialog, FindsControlsByIdAndKindAndClicksAndKeysBecomeCommands) {
    SampleDialog dialog;
    EXPECT_EQ(std::tuple(dialog.size(), dialog.minimumSize()),
              std::tuple(dialog.units().ToPixels(200, 80), dialog.maximumSize()));
    auto* option = dialog.Control<QCheckBox>(SampleDialog::kIdOption);
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->geometry(), dialog.units().ToPixels(DialogRect{6, 26, 120, 10}));
    EXPECT_FALSE(dialog.Control<QPushButton>(SampleDialog::kIdOption) || dialog.Control(TemplateDialog::kNoId));
    // Shown, a label that its text outgrew takes the room beside it.
    const QLabel* narrow = dialog.Control<QLabel>(SampleDialog::kIdNarrow);
    EXPECT_GE(narrow->width(), narrow->sizeHint().width());
    EXPECT_EQ(narrow->pos(), dialog.units().ToPixels(DialogRect{6, 4, 10, 8}).topLeft());

    // Clicks and keys become commands; only OK or Cancel end the dialog.
    dialog.Control<QCheckBox>(SampleDialog::kIdOption)->click();
    dialog.Control<QPushButton>(SampleDialog::kIdApply)->click();
    EXPECT_TRUE(dialog.isVisible());
    // Enter on a check box presses the default button.
    Press(dialog.Control(SampleDialog::kIdOption), Qt::Key_Return);
    EXPECT_EQ(std::tuple(dialog.isVisible(), dialog.result()), std::tuple(false, int{TemplateDialog::kIdOk}));
    EXPECT_EQ(dialog.commands, (std::vector<int>{SampleDialog::kIdOption, SampleDialog::kIdApply, 1}));

    // Esc and the close button are Cancel, which the dialog may refuse.
    SampleDialog escaped, closed;
    Press(&escaped, Qt::Key_Escape);
    closed.close();
    EXPECT_EQ(std::tuple(escaped.result(), closed.result(), closed.isVisible()),
              std::tuple(TemplateDialog::kIdCancel, TemplateDialog::kIdCancel, false));
    SampleDialog stubborn(/*cancelAllowed=*/false);
    stubborn.close();
    Press(&stubborn, Qt::Key_Escape);
    EXPECT_EQ(std::tuple(stubborn.isVisible(), stubborn.commands), std::tuple(true, std::vector<int>{2, 2}));
}

}  // namespace
}  // namespace lumora
