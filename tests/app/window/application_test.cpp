#include "application_fixture.h"

namespace lumora {
namespace {

using test::ApplicationTest;
using test::kNoDevices;
using test::kQuestion;

TEST_F(ApplicationTest, WithoutAnyDeviceBothMessagesComeInOrderAndNoEndsIt) {
    devices_.Set("");
    messages_.SetAnswer(id::kNo);
    EXPECT_EQ(Start(), 0);
    const auto& shown = messages_.Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(std::tie(shown[0].text, shown[0].flags, shown[1].text, shown[1].flags),
              std::tuple(kNoDevices, 0x30u, kQuestion, 0x34u));
    for (QWidget* widget : QApplication::topLevelWidgets()) EXPECT_FALSE(widget->isVisible());
}

TEST_F(ApplicationTest, WithoutTheVirtualCameraYesRunsAPreviewOnly) {
    devices_.Set("Cam=pattern:smpte");
    RememberCam();
    EXPECT_EQ(Start(), std::nullopt);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, kQuestion);
    ASSERT_TRUE(PumpUntil([&] { return app_->Window()->Preview().FramesShown() > 0; }));
    EXPECT_EQ(app_->Media()->Frames().PacketsWritten(), 0u);
}

}  // namespace
}  // namespace lumora
