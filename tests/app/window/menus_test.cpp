#include "../preferences_test_fixture.h"
#include "app/window/command_ids.h"
#include "app/window/video_source_menu.h"
#include "window_test_hooks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::Items;
using ::testing::ElementsAre;

class VideoSourceMenuTest : public test::PreferencesTest {
protected:
    void SetUp() override {
        PreferencesTest::SetUp();
        devices_.EnumerateCaptureDevices();
        menu_.Build();
    }
    CaptureDeviceList devices_{[] {
        return std::vector<CaptureDeviceInfo>{{"Webcam", "pattern:ball"},
                                              {"Lumora Capture", "packets:/tmp/x"},
                                              {"No path", std::nullopt},
                                              {std::nullopt, "pattern:smpte"}};
    }};
    VideoSourceMenu menu_{nullptr, devices_};
};

// The usable cameras, then the other sources; choosing moves the check, and the same
// source twice does nothing.
TEST_F(VideoSourceMenuTest, ListsTheUsableCamerasChoosingMovesTheCheckAndOnlyWhatIsThereIsRestored) {
    const std::vector<std::string> items{"Webcam 1003",        "pattern:smpte 1006", "-",
                                         "Video file... 1000", "Image file... 1002", "Desktop 1001"};
    EXPECT_EQ(Items(menu_.Menu()), items);
    CaptureDeviceList none([] { return std::vector<CaptureDeviceInfo>{}; });
    VideoSourceMenu bare(nullptr, none);
    bare.Build();
    EXPECT_THAT(Items(bare.Menu()), ElementsAre("Video file... 1000", "Image file... 1002", "Desktop 1001"));

    EXPECT_FALSE(menu_.Choose(999));
    EXPECT_FALSE(menu_.Choose(cmd::kFirstCaptureDevice + 4));  // past the list
    EXPECT_TRUE(menu_.Choose(cmd::kFirstCaptureDevice));
    EXPECT_EQ(menu_.SourceId(), 1003);
    EXPECT_FALSE(menu_.Choose(cmd::kFirstCaptureDevice));
    EXPECT_TRUE(menu_.Choose(cmd::kDesktop));
    EXPECT_EQ(std::tuple(Items(menu_.Menu())[0], Items(menu_.Menu())[5]),
              std::tuple("Webcam 1003", "Desktop 1001 [x]"));
    menu_.ClearSourceSelection();
    EXPECT_EQ(std::tuple(menu_.SourceId(), Items(menu_.Menu())), std::tuple(0, items));

    // Only what is remembered and still there is restored.
    EXPECT_FALSE(menu_.RestoreLastSource());  // nothing stored at all

    SetDword(reg::kRememberLastSource, 1);
    SetDword(reg::kLastSourceType, 1003);
    SetString(reg::kLastSourceId, "pattern:gone");  // a camera no longer listed
    EXPECT_FALSE(menu_.RestoreLastSource());
    EXPECT_EQ(menu_.SourceId(), 0);
    SetString(reg::kLastSourceId, "pattern:smpte");
    ASSERT_TRUE(menu_.RestoreLastSource());
    EXPECT_EQ(Items(menu_.Menu())[1], "pattern:smpte 1006 [x]");  // its place in the list, not the first

    VideoSourceMenu other(nullptr, devices_);
    other.Build();
    SetDword(reg::kLastSourceType, 1000);
    SetString(reg::kLastSourceId, "");
    EXPECT_FALSE(other.RestoreLastSource());
    EXPECT_EQ(other.Videos().Count(), 0);

    SetDword(reg::kLastSourceType, 1002);
    SetString(reg::kLastSourceId, "/p/a.png");
    ASSERT_TRUE(other.RestoreLastSource());
    EXPECT_EQ(std::tuple(other.ImagePath(), other.SourceId()), std::tuple("/p/a.png", 1002));
}

TEST_F(VideoSourceMenuTest, PicturesAreAskedForEveryTimeVideoFilesReplaceThePlaylistAndACancelForgets) {
    test::FileAnswer files({"/pictures/a.jpg"});
    ASSERT_TRUE(menu_.Choose(cmd::kImageFile));
    EXPECT_EQ(menu_.ImagePath(), "/pictures/a.jpg");
    ASSERT_EQ(files.Requests().size(), 1u);
    const FileChoice& request = files.Requests()[0];
    EXPECT_EQ(std::tie(request.title, request.mode, request.filters.front().first),
              std::tuple("Open Image File...", FileChoice::Mode::kOpenOne,
                         "Image Files (*.bmp; *.jpg; *.gif; *.wmf; *.ico)"));

    files.Set({});
    EXPECT_FALSE(menu_.Choose(cmd::kImageFile));  // asked again, and cancelled
    EXPECT_EQ(std::tuple(files.Requests().size(), menu_.SourceId(), menu_.ImagePath(), menu_.IdentifierText()),
              std::tuple(2u, cmd::kImageFile, std::optional<std::string>(), ""));

    // Video files replace the playlist, and playlist files are read.
    test::WriteFileText(dir_.file("list.pls"), "[playlist]\nFile1=/v/two.avi\nFile2=/v/three.avi\nNumberOfEntries=2\n");
    menu_.Videos().AddFile("/v/old.avi");
    files.Set({"/v/one.avi", QString::fromStdString(dir_.file("list.pls"))});
    ASSERT_TRUE(menu_.Choose(cmd::kVideoFile));
    EXPECT_THAT(menu_.Videos().Entries(), ElementsAre("/v/one.avi", "/v/two.avi", "/v/three.avi"));
    EXPECT_EQ(menu_.IdentifierText(), "/v/one.avi");
    files.Set({});
    EXPECT_FALSE(menu_.Choose(cmd::kVideoFile));
    EXPECT_EQ(menu_.Videos().Count(), 3);  // a cancel keeps the playlist
}

TEST(FileChooser, FiltersReadTheWayQtMatchesThem) {
    EXPECT_EQ(
        std::tuple(FileChooser::QtFilter({"Image Files (*.bmp; *.jpg)", "*.bmp; *.jpg"}),
                   FileChooser::QtFilter({"All Files (*.*)", "*.*;"}), FileChooser::QtFilter({"Playlist", "*.pls"})),
        std::tuple("Image Files (*.bmp *.jpg)", "All Files (*)", "Playlist (*.pls)"));
}

}  // namespace
}  // namespace lumora
