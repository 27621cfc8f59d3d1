// Lumora started in this process on the offscreen platform with test devices, every
// message box taken by a recorder; the command table driven the way the program drives
// it: button clicks, CommandEvents and messages sent to the main window, menus and file
// dialogs answered by hooks.
#include "app/window/application.h"
#include "../preferences_test_fixture.h"
#include "app/window/command_event.h"
#include "app/window/command_ids.h"
#include "app/window/main_window.h"
#include "app/window/tray_icon.h"
#include "app/window/tray_notify_event.h"
#include "app/window/video_source_menu.h"
#include "effects/zoom_effect.h"
#include "options/options_window.h"
#include "packet_file.h"
#include "platform/message_recorder.h"
#include "scoped_env.h"
#include "session/session.h"
#include "skins/parvel_button.h"
#include "skins/parvel_slider.h"
#include "window_test_hooks.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace lumora {
namespace {

using test::Items;

// A Lumora of the test's own: its settings folder, its instance socket, its test devices
// (a camera "Cam" and the virtual camera writing into `Packets()`), every message taken.
class ApplicationTest : public test::PreferencesTest {
protected:
    void SetUp() override {
        PreferencesTest::SetUp();
        devices_.Set(("Cam=pattern:smpte;Lumora Capture=packets:" + Packets()).c_str());
    }
    void TearDown() override {
        app_.reset();
        PreferencesTest::TearDown();
    }

    std::string Packets() const { return dir_.file("vcam.packets"); }
    std::uintmax_t PacketBytes() const { return test::FileBytes(Packets()); }

    std::unique_ptr<Application> MakeApplication() {
        test::WriteFileText(Packets(), "");
        return std::make_unique<Application>(Application::Options{test::ProgramDir(), dir_.file("instance.socket")});
    }
    std::optional<int> Start() {
        app_ = MakeApplication();
        return app_->Start();
    }
    void RememberCam(const char* path = "pattern:smpte") {
        SetDword(reg::kRememberLastSource, 1);
        SetDword(reg::kLastSourceType, 1003);
        SetString(reg::kLastSourceId, path);
    }
    void Send(int command) {
        CommandEvent event(command);
        QCoreApplication::sendEvent(app_->Window(), &event);
    }
    bool Streaming() const { return app_->Media()->Graph().Pipeline() != nullptr; }
    int SourceId() const { return app_->Sources()->SourceId(); }

    test::ScopedEnv devices_{"LUMORA_TEST_DEVICES", ""};
    MessageRecorder messages_{id::kYes};
    std::unique_ptr<Application> app_;
};

constexpr char kQuestion[] =
    "Error initializing virtual web-camera device (Parvel)! Only preview functions will be available. Would you "
    "like to continue?";

// Without any device both messages come in order and No ends it; with a camera but no
// virtual camera, Yes runs a preview only, which a tray can hide.
TEST_F(ApplicationTest, WithoutTheDevicesTheStartAsksAndYesRunsAPreviewOnlyATrayCanHide) {
    devices_.Set("");
    messages_.SetAnswer(id::kNo);
    EXPECT_EQ(Start(), 0);
    const auto& shown = messages_.Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(std::tie(shown[0].text, shown[0].flags, shown[1].text, shown[1].flags),
              std::tuple("There are no available video capture devices in the system!", 0x30u, kQuestion, 0x34u));
    for (QWidget* widget : QApplication::topLevelWidgets()) EXPECT_FALSE(widget->isVisible());

    app_.reset();
    messages_.Clear();
    messages_.SetAnswer(id::kYes);
    devices_.Set("Cam=pattern:smpte");
    RememberCam();
    TrayIcon::AvailabilityProbe previous = TrayIcon::SetAvailabilityProbe([] { return true; });
    EXPECT_EQ(Start(), std::nullopt);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, kQuestion);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app_->Window()->Preview().FramesShown() > 0; }, 10000));
    EXPECT_EQ(app_->Media()->Frames().PacketsWritten(), 0u);

    // With a tray the window hides into it and a click on the icon brings it back.
    ASSERT_TRUE(app_->Tray().Present());
    Send(cmd::kMinimize);
    EXPECT_TRUE(app_->Window()->isHidden());
    for (const auto& [button, hidden] : {std::pair{Qt::MiddleButton, true}, std::pair{Qt::RightButton, false}}) {
        TrayNotifyEvent click(button);
        QCoreApplication::sendEvent(app_->Window(), &click);
        EXPECT_EQ(app_->Window()->isHidden(), hidden) << button;
    }
    app_->Close();
    EXPECT_FALSE(app_->Tray().Present());
    TrayIcon::SetAvailabilityProbe(std::move(previous));
}

// The Options button shows the options window docked, and its colour filter changes the
// packets the virtual camera gets.
TEST_F(ApplicationTest, TheRedSliderChangesTheRedOfTheNextPacketsAndDefaultUndoesIt) {
    // A still pattern, so that the unfiltered packets are all alike.
    devices_.Set(("Cam=pattern:colors;Lumora Capture=packets:" + Packets()).c_str());
    RememberCam("pattern:colors");
    ASSERT_FALSE(Start().has_value());
    test::PacketFile packets(Packets());
    ASSERT_TRUE(QTest::qWaitFor([&] { return packets.Count() >= 5; }, 10000));
    // The last of `more` packets after the `from`th.
    const auto after = [&](std::size_t from, std::size_t more) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return packets.Count() >= from + more; }, 10000));
        return packets.Packet(from + more - 1);
    };

    OptionsWindow& options = *app_->OptionsPopup();
    EXPECT_FALSE(options.isVisible());
    QTest::mouseClick(app_->Window()->Button(cmd::kOptionsButton), Qt::LeftButton);
    ASSERT_TRUE(options.isVisible());

    const std::vector<unsigned char> plain = packets.Packet(packets.Count() - 1);
    auto* red = options.findChild<ParvelSlider*>("red");
    ASSERT_NE(red, nullptr);
    ASSERT_TRUE(red->isEnabled());
    QTest::keyClick(red, Qt::Key_End);  // level 256: red doubled
    const auto before = test::PacketFile::Channels(plain);
    const auto filtered = test::PacketFile::Channels(after(packets.Count(), 3));
    EXPECT_GT(filtered[2], before[2] + before[2] / 5);
    EXPECT_EQ(std::tuple(filtered[0], filtered[1]), std::tuple(before[0], before[1]));

    QTest::mouseClick(options.findChild<ParvelButton*>("2008"), Qt::LeftButton);
    EXPECT_EQ(after(packets.Count(), 3), plain);
}

TEST(MainWindow, TheCaptionBandDragsTheWindow) {
    MainWindow window;
    window.Layout(QSize(640, 480));
    const QPoint start = window.pos();
    test::Drag(&window, QPoint(670, 10), QPoint(700, 30));  // beside Minimize: not the caption
    test::Drag(&window, QPoint(200, 40), QPoint(230, 60));  // below the band
    EXPECT_EQ(window.pos(), start);
    test::Drag(&window, QPoint(200, 10), QPoint(230, 30));
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
}

class CommandsTest : public ApplicationTest {
protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        // A second camera that was unplugged after the list was made.
        devices_.Set(("Cam=pattern:smpte;Gone=/dev/video-unplugged;Lumora Capture=packets:" + Packets()).c_str());
        // Stand-ins for the tool windows, so that their menu items follow the source.
        app_ = MakeApplication();
        app_->Dialogs().Register(ToolDialog::kRecording, [](QWidget*) { return false; });
        app_->Dialogs().Register(ToolDialog::kSnapshots, [](QWidget*) { return false; });
        ASSERT_EQ(app_->Start(), std::nullopt);
    }
    // The menu a button drops down, with `command` chosen in it.
    void Choose(int button, int command) {
        test::MenuAnswer answer(command);
        QTest::mouseClick(app_->Window()->Button(button), Qt::LeftButton);
        ASSERT_EQ(answer.Shown().size(), 1u);
        EXPECT_EQ(answer.At()[0], app_->Window()->Button(button)->mapToGlobal(QPoint(0, 13)));
    }
    // The items of the menu `button` drops down, or of its first submenu.
    std::vector<std::string> MenuItems(int button, bool submenu = false) {
        test::MenuAnswer answer;
        QTest::mouseClick(app_->Window()->Button(button), Qt::LeftButton);
        QMenu& menu = *answer.Shown().at(0);
        return Items(submenu ? *menu.actions()[0]->menu() : menu);
    }
    std::vector<std::string> CaptureItems() { return MenuItems(cmd::kFileButton, true); }
    std::string FirstOptionsItem() { return MenuItems(cmd::kVideoOptionsButton).front(); }
    void ExpectNoSource() {
        EXPECT_EQ(std::tuple(SourceId(), Streaming()), std::tuple(0, false));
        EXPECT_EQ(FirstOptionsItem(), "No options available 0 (off)");
        EXPECT_EQ(CaptureItems(), (std::vector<std::string>{"Videos... 2023 (off)", "Photos... 2024 (off)"}));
    }
};

TEST_F(CommandsTest, ACameraConnectsZoomsAndResets) {
    ExpectNoSource();
    Choose(cmd::kSourceButton, cmd::kFirstCaptureDevice);
    ASSERT_EQ(std::tuple(Streaming(), SourceId()), std::tuple(true, cmd::kFirstCaptureDevice));
    ASSERT_TRUE(QTest::qWaitFor([&] { return PacketBytes() > 0; }, 10000));
    EXPECT_EQ(
        std::tuple(app_->Window()->size(), CaptureItems(), FirstOptionsItem()),
        std::tuple(QSize(706, 567), std::vector<std::string>{"Videos... 2023", "Photos... 2024"}, "Video options >"));

    // The zoom drag moves the picture only while the zoom is on.
    EffectChain& effects = app_->Media()->Effects();
    auto* zoom = dynamic_cast<ZoomEffect*>(effects.FindEffect(effects.zoomEffectId()));
    ASSERT_NE(zoom, nullptr);
    const auto drag = [this] { test::Drag(&app_->Window()->Preview(), QPoint(100, 100), QPoint(90, 130)); };
    drag();
    EXPECT_EQ(std::tuple(zoom->offsetX(), zoom->offsetY()), std::tuple(0, 0));

    zoom->SetFactor(512);
    ASSERT_EQ(effects.ActivateEffect(effects.zoomEffectId()), 0);
    drag();
    // Left by 10 and down by 30 on the screen: the picture's offsets grow by (10, 30).
    EXPECT_EQ(std::tuple(zoom->offsetX(), zoom->offsetY(), app_->Window()->Preview().Drag().Dragging()),
              std::tuple(10, 30, false));

    // The recording commands need a recording dialog's file name; without one the
    // restart fails, and a failed connection resets everything.
    Send(cmd::kStopRecording);
    ExpectNoSource();
    EXPECT_TRUE(messages_.Messages().empty());

    // A camera unplugged after the list was made says so.
    Choose(cmd::kSourceButton, cmd::kFirstCaptureDevice + 1);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(std::tie(messages_.Messages()[0].text, messages_.Messages()[0].flags),
              std::tuple("Couldn't connect to specified video source device!", 0x30u));  // a warning
    ExpectNoSource();
}

// Without a source the commands that need one say so. A picture connects, and one that
// does not load resets; a video that does not play is dropped for the next one. Minimize
// minimizes (there is no tray on the offscreen desktop).
TEST_F(CommandsTest, CommandsNeedASourceAndPicturesOrVideosThatDoNotLoadAreDropped) {
    for (int command : {cmd::kPlaybackStart, cmd::kFirstSourceCommand, cmd::kLastSourceCommand}) Send(command);
    Send(cmd::kStartRecording);  // silently nothing
    Send(cmd::kLastSourceCommand + 1);
    ASSERT_EQ(messages_.Messages().size(), 3u);
    for (const MessageRequest& message : messages_.Messages())
        EXPECT_EQ(std::tie(message.text, message.flags), std::tuple("Please select video source!", 0x40u));
    messages_.Clear();

    test::FileAnswer files({QString::fromStdString(test::TestDataPath("messi5.jpg"))});
    Choose(cmd::kSourceButton, cmd::kImageFile);
    ASSERT_EQ(std::tuple(Streaming(), SourceId(), app_->Window()->size()),
              std::tuple(true, cmd::kImageFile, QSize(706, 567)));
    EXPECT_EQ(CaptureItems(), (std::vector<std::string>{"Videos... 2023 (off)", "Photos... 2024"}));
    test::WriteFileText(dir_.file("not-a-picture.jpg"), "text");
    files.Set({QString::fromStdString(dir_.file("not-a-picture.jpg"))});
    Choose(cmd::kSourceButton, cmd::kImageFile);
    ExpectNoSource();
    EXPECT_FALSE(messages_.Messages().empty());  // the graph said why

    test::WriteFileText(dir_.file("broken.avi"), "no video in here");
    const QString good = QString::fromStdString(test::TestDataPath("Megamind.avi"));
    files.Set({QString::fromStdString(dir_.file("broken.avi")), good, "/nowhere/third.avi"});
    Choose(cmd::kSourceButton, cmd::kVideoFile);
    ASSERT_EQ(std::tuple(Streaming(), SourceId()), std::tuple(true, cmd::kVideoFile));
    EXPECT_EQ(std::tuple(app_->Sources()->Videos().Current(), app_->Sources()->Videos().Entries()),
              std::tuple(good.toStdString(), std::vector<std::string>{good.toStdString(), "/nowhere/third.avi"}));
    EXPECT_EQ(FirstOptionsItem(), "Video options >");

    ASSERT_FALSE(app_->Tray().Present());
    QTest::mouseClick(app_->Window()->Button(cmd::kMinimize), Qt::LeftButton);
    EXPECT_TRUE(app_->Window()->isMinimized());
}

}  // namespace
}  // namespace lumora
