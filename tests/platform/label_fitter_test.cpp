#include "platform/label_fitter.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// A dialog of 300 x 200 with a group box (10, 10, 200 x 100) and, in the group, an edit
// field right of the label's row and a button below it.
const QRect kDialog(0, 0, 300, 200);
const QRect kGroup(10, 10, 200, 100);
const QRect kEdit(120, 20, 80, 14);
const QRect kButton(20, 60, 80, 20);
const QRect kLabel(20, 20, 60, 14);

TEST(LabelFitter, ALineGrowsRightUpToItsNeighbourOrFrameAndNeverShrinks) {
    const LabelFitter fitter(kDialog, {kGroup, kEdit, kButton});
    EXPECT_EQ(fitter.FitLine(kLabel, 50), kLabel);                     // fits: left as it is
    EXPECT_EQ(fitter.FitLine(kLabel, 75), QRect(20, 20, 75, 14));      // room enough
    EXPECT_EQ(fitter.FitLine(kLabel, 500).right(), kEdit.left() - 3);  // two pixels short of the edit

    // Without the edit the group's frame stops it; outside any group, the dialog's edge.
    EXPECT_EQ(LabelFitter(kDialog, {kGroup}).FitLine(kLabel, 500).right(), kGroup.right() - 4);
    EXPECT_EQ(LabelFitter(kDialog, {}).FitLine(QRect(250, 150, 20, 14), 500).right(), kDialog.right() - 2);

    // A control already under the label (drawn over it by the template) is no obstacle;
    // one already touching its right edge leaves it as it was.
    const QRect under(30, 22, 10, 10);
    EXPECT_EQ(LabelFitter(kDialog, {under}).FitLine(kLabel, 75).width(), 75);
    const QRect touching(kLabel.right() + 1, 20, 30, 14);
    EXPECT_EQ(LabelFitter(kDialog, {touching}).FitLine(kLabel, 75), kLabel);
}

TEST(LabelFitter, AWrappedLabelWidensFirstAndThenGrowsDownToTheControlBelow) {
    const LabelFitter fitter(kDialog, {kGroup, kButton});
    // The text takes 2000 / width pixels of height (lines of a 2000-pixel text).
    const auto heightFor = [](int width) { return 2000 / width; };
    EXPECT_EQ(fitter.FitWrapped(QRect(20, 20, 100, 30), 2000, heightFor), QRect(20, 20, 100, 30));  // 20 high
    // 60 wide would need 33: widening to the frame (186 wide, 10 high) is enough.
    const QRect wider = fitter.FitWrapped(QRect(20, 20, 60, 30), 2000, heightFor);
    EXPECT_EQ(wider, QRect(20, 20, kGroup.right() - 4 - 20 + 1, 30));

    // Hemmed in on the right by the edit, it widens to it and grows down until the button.
    const LabelFitter hemmed(kDialog, {kGroup, kEdit, kButton});
    const auto tall = [](int width) { return 6000 / width; };
    const QRect down = hemmed.FitWrapped(QRect(20, 20, 40, 10), 500, tall);
    EXPECT_EQ(down.left(), 20);
    EXPECT_EQ(down.right(), kEdit.left() - 3);
    EXPECT_EQ(down.bottom(), kButton.top() - 3);  // wanted 61 high
}

}  // namespace
}  // namespace lumora
