#include "../preferences_test_fixture.h"
#include "app/window/command_ids.h"
#include "app/window/file_menu.h"
#include "app/window/skin_menu.h"
#include "app/window/video_options_menu.h"
#include "app/window/video_source_menu.h"
#include "skins/apply_skin_event.h"
#include "skins/skin_manager.h"
#include "window_test_hooks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::Items;
using ::testing::ElementsAre;

CaptureDeviceList FourDevices() {
    return CaptureDeviceList([] {
        return std::vector<CaptureDeviceInfo>{{"Webcam", "pattern:ball"},
                                              {"Lumora Capture", "packets:/tmp/x"},
                                              {"No path", std::nullopt},
                                              {std::nullopt, "pattern:smpte"}};
    });
}

class VideoSourceMenuTest : public test::PreferencesTest {
protected:
    void SetUp() override {
        PreferencesTest::SetUp();
        devices_.EnumerateCaptureDevices();
        menu_.Build();
    }
    CaptureDeviceList devices_ = FourDevices();
    VideoSourceMenu menu_{nullptr, devices_};
};

TEST_F(VideoSourceMenuTest, ListsTheUsableCamerasThenTheOtherSources) {
    EXPECT_THAT(Items(menu_.Menu()), ElementsAre("Webcam 1003", "pattern:smpte 1006", "-", "Video file... 1000",
                                                 "Image file... 1002", "Desktop 1001"));
    CaptureDeviceList none([] { return std::vector<CaptureDeviceInfo>{}; });
    VideoSourceMenu bare(nullptr, none);
    bare.Build();
    EXPECT_THAT(Items(bare.Menu()), ElementsAre("Video file... 1000", "Image file... 1002", "Desktop 1001"));
}

TEST_F(VideoSourceMenuTest, ChoosingMovesTheCheckAndTheSameSourceTwiceDoesNothing) {
    EXPECT_FALSE(menu_.Choose(999));
    EXPECT_FALSE(menu_.Choose(cmd::kFirstCaptureDevice + 4));  // past the list
    EXPECT_TRUE(menu_.Choose(cmd::kFirstCaptureDevice));
    EXPECT_EQ(menu_.SourceId(), 1003);
    EXPECT_FALSE(menu_.Choose(cmd::kFirstCaptureDevice));
    EXPECT_TRUE(menu_.Choose(cmd::kDesktop));
    EXPECT_THAT(Items(menu_.Menu()), ElementsAre("Webcam 1003", "pattern:smpte 1006", "-", "Video file... 1000",
                                                 "Image file... 1002", "Desktop 1001 [x]"));
    menu_.ClearSourceSelection();
    EXPECT_EQ(menu_.SourceId(), 0);
    EXPECT_THAT(Items(menu_.Menu())[5], "Desktop 1001");
}

TEST_F(VideoSourceMenuTest, ThePictureIsAskedForEveryTimeAndACancelForgetsIt) {
    test::FileAnswer files({"/pictures/a.jpg"});
    ASSERT_TRUE(menu_.Choose(cmd::kImageFile));
    EXPECT_EQ(menu_.ImagePath(), "/pictures/a.jpg");
    ASSERT_EQ(files.Requests().size(), 1u);
    const FileOpenRequest& request = files.Requests()[0];
    EXPECT_EQ(request.title, "Open Image File...");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].first, "Image Files (*.bmp; *.jpg; *.gif; *.wmf; *.ico)");
    EXPECT_EQ(request.filters[0].second, "*.bmp; *.jpg; *.gif; *.wmf; *.ico");
    EXPECT_EQ(request.filters[1].second, "*.*;");
    EXPECT_FALSE(request.multiple);

    files.Set({});
    EXPECT_FALSE(menu_.Choose(cmd::kImageFile));  // asked again, and cancelled
    EXPECT_EQ(files.Requests().size(), 2u);
    EXPECT_EQ(menu_.SourceId(), cmd::kImageFile);
    EXPECT_FALSE(menu_.ImagePath());
    EXPECT_EQ(menu_.IdentifierText(), "");
}

TEST_F(VideoSourceMenuTest, VideoFilesReplaceThePlaylistAndPlaylistFilesAreRead) {
    test::WriteFileText(dir_.file("list.pls"), "[playlist]\nFile1=/v/two.avi\nFile2=/v/three.avi\nNumberOfEntries=2\n");
    menu_.Videos().AddFile("/v/old.avi");
    test::FileAnswer files({"/v/one.avi", QString::fromStdString(dir_.file("list.pls"))});
    ASSERT_TRUE(menu_.Choose(cmd::kVideoFile));
    EXPECT_TRUE(files.Requests()[0].multiple);
    EXPECT_EQ(files.Requests()[0].title, "Open File...");
    EXPECT_EQ(files.Requests()[0].filters.size(), 5u);
    EXPECT_THAT(menu_.Videos().Entries(), ElementsAre("/v/one.avi", "/v/two.avi", "/v/three.avi"));
    EXPECT_EQ(menu_.IdentifierText(), "/v/one.avi");
    files.Set({});
    EXPECT_FALSE(menu_.Choose(cmd::kVideoFile));
    EXPECT_EQ(menu_.Videos().Count(), 3);  // a cancel keeps the playlist
}

TEST_F(VideoSourceMenuTest, RestoresOnlyWhatIsRememberedAndStillThere) {
    EXPECT_FALSE(menu_.RestoreLastSource());  // nothing stored at all

    SetDword(reg::kRememberLastSource, 1);
    SetDword(reg::kLastSourceType, 1003);
    SetString(reg::kLastSourceId, "pattern:smpte");
    ASSERT_TRUE(menu_.RestoreLastSource());
    EXPECT_EQ(menu_.SourceId(), 1006);
    EXPECT_EQ(Items(menu_.Menu())[1], "pattern:smpte 1006 [x]");

    VideoSourceMenu other(nullptr, devices_);
    other.Build();
    SetString(reg::kLastSourceId, "PATTERN:SMPTE");  // paths compare exactly
    EXPECT_FALSE(other.RestoreLastSource());
    EXPECT_EQ(other.SourceId(), 0);

    SetDword(reg::kLastSourceType, 1000);
    SetString(reg::kLastSourceId, "");
    EXPECT_FALSE(other.RestoreLastSource());
    EXPECT_EQ(other.Videos().Count(), 0);

    SetDword(reg::kLastSourceType, 1002);
    SetString(reg::kLastSourceId, "/p/a.png");
    SetDword(reg::kRememberLastSource, 0);
    EXPECT_FALSE(other.RestoreLastSource());
    SetDword(reg::kRememberLastSource, 1);
    ASSERT_TRUE(other.RestoreLastSource());
    EXPECT_EQ(other.ImagePath(), "/p/a.png");
    EXPECT_EQ(other.SourceId(), 1002);
}

TEST(FileMenu, ToolItemsAreOnOnlyWhenTheirWindowExists) {
    ToolDialogs dialogs;
    FileMenu menu(dialogs);
    ASSERT_EQ(Items(menu.Menu()).size(), 3u);
    EXPECT_THAT(Items(menu.Menu()), ElementsAre("Capture >", "-", "Exit 2018"));
    QMenu* capture = menu.Menu().actions()[0]->menu();
    EXPECT_THAT(Items(*capture), ElementsAre("Videos... 2023 (off)", "Photos... 2024 (off)"));
    menu.EnableItem(cmd::kPhotos, true);
    EXPECT_THAT(Items(*capture)[1], "Photos... 2024 (off)");  // no snapshot manager yet
    dialogs.Register(ToolDialog::kSnapshots, [](QWidget*) { return false; });
    menu.EnableItem(cmd::kPhotos, true);
    menu.EnableItem(cmd::kClose, false);  // not one of the two
    EXPECT_THAT(Items(menu.Menu())[2], "Exit 2018");
    EXPECT_THAT(Items(*capture), ElementsAre("Videos... 2023 (off)", "Photos... 2024"));
}

TEST(VideoOptionsMenu, WithoutASourceOnlyThePreferences) {
    ToolDialogs dialogs;
    VideoOptionsMenu menu(nullptr, nullptr, dialogs);
    EXPECT_THAT(Items(menu.Menu()), ElementsAre("No options available 0 (off)", "-", "Preferences 3000"));
    EXPECT_EQ(menu.Handle(cmd::kVideoOption1), VideoOptionsMenu::Outcome::kNothing);
}

// Keeps the last skin it was sent.
class SkinTaker : public QWidget {
public:
    const Skin* taken = nullptr;

protected:
    bool event(QEvent* event) override {
        if (const Skin* skin = ApplySkinEvent::SkinOf(event)) {
            taken = skin;
            return true;
        }
        return QWidget::event(event);
    }
};

TEST(SkinMenu, ListsTheSkinsAndAppliesAnotherOne) {
    SkinManager skins;
    skins.SetProgramFolder(test::ProgramDir());
    skins.LoadAllSkins();
    ASSERT_GE(skins.Count(), 2) << "the shipped skins are missing from " << test::ProgramDir();
    SkinTaker window;
    skins.RegisterSkinWindow(&window);
    ToolDialogs dialogs;
    SkinMenu menu(nullptr, skins, dialogs);
    menu.Build();
    menu.Check(0);
    const auto items = Items(menu.Menu());
    ASSERT_EQ(items.size(), static_cast<std::size_t>(skins.Count()) + 2);
    EXPECT_EQ(items[0], "Default 3501 [x]");
    EXPECT_EQ(items.back(), "Skin editor 3500 (off)");

    menu.Handle(cmd::kFirstSkin);  // the current one: nothing happens
    EXPECT_EQ(window.taken, nullptr);
    menu.Handle(cmd::kFirstSkin + 1);
    EXPECT_EQ(window.taken, skins.Get(1));
    EXPECT_EQ(menu.Current(), 1);
    EXPECT_EQ(Items(menu.Menu())[0], "Default 3501");
    menu.Handle(cmd::kFirstSkin + skins.Count());  // no such skin
    EXPECT_EQ(menu.Current(), 1);
}

}  // namespace
}  // namespace lumora
