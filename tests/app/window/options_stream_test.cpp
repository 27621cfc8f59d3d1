// The options window in a running Lumora: the Options button shows it docked, and its
// colour filter changes the packets the virtual camera gets.
#include "application_fixture.h"
#include "options/options_window.h"
#include "packet_file.h"
#include "skins/parvel_button.h"
#include "skins/parvel_slider.h"

namespace lumora::test {
namespace {

using OptionsStreamTest = ApplicationTest;

TEST_F(OptionsStreamTest, TheRedSliderChangesTheRedOfTheNextPacketsAndDefaultUndoesIt) {
    // A still pattern, so that the unfiltered packets are all alike.
    devices_.Set(("Cam=pattern:colors;Lumora Capture=packets:" + Packets()).c_str());
    RememberCam("pattern:colors");
    ASSERT_FALSE(Start().has_value());
    PacketFile packets(Packets());
    ASSERT_TRUE(PumpUntil([&] { return packets.Count() >= 5; }));
    // The last of `more` packets after the `from`th.
    const auto after = [&](std::size_t from, std::size_t more) {
        EXPECT_TRUE(PumpUntil([&] { return packets.Count() >= from + more; }));
        return packets.Packet(from + more - 1);
    };

    OptionsWindow& options = *app_->OptionsPopup();
    EXPECT_FALSE(options.isVisible());
    QTest::mouseClick(app_->Window()->Button(cmd::kOptionsButton), Qt::LeftButton);
    ASSERT_TRUE(options.isVisible());
    const QRect main = app_->Window()->frameGeometry();
    EXPECT_EQ(options.pos(), QPoint(main.left() + main.width(), main.top()));

    const std::vector<unsigned char> plain = packets.Packet(packets.Count() - 1);
    auto* red = options.findChild<ParvelSlider*>("red");
    ASSERT_NE(red, nullptr);
    ASSERT_TRUE(red->isEnabled());
    QTest::keyClick(red, Qt::Key_End);  // level 256: red doubled
    const auto before = PacketFile::Channels(plain);
    const auto filtered = PacketFile::Channels(after(packets.Count(), 3));
    EXPECT_GT(filtered[2], before[2] + before[2] / 5);
    EXPECT_EQ(filtered[0], before[0]);
    EXPECT_EQ(filtered[1], before[1]);

    QTest::mouseClick(options.findChild<ParvelButton*>("2008"), Qt::LeftButton);
    EXPECT_EQ(after(packets.Count(), 3), plain);
}

}  // namespace
}  // namespace lumora::test
