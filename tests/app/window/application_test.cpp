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
    ASSERT_EQ(messages_.Messages().size(), 2u);
    EXPECT_EQ(messages_.Messages()[0].text, kNoDevices);
    EXPECT_EQ(messages_.Messages()[0].flags, 0x30u);
    EXPECT_EQ(messages_.Messages()[1].text, kQuestion);
    EXPECT_EQ(messages_.Messages()[1].flags, 0x34u);
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

TEST_F(ApplicationTest, ARememberedPathThatMatchesNothingRestoresNothing) {
    RememberCam("pattern:ball");
    ASSERT_EQ(Start(), std::nullopt);
    EXPECT_EQ(SourceId(), 0);
    EXPECT_FALSE(Streaming());
    EXPECT_EQ(app_->Window()->size(), QSize(386, 327));
    EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace lumora
