// The command table driven the way the program drives it: button clicks, CommandEvents
// and messages sent to the main window, menus and file dialogs answered by hooks.
#include "application_fixture.h"

namespace lumora {
namespace {

using test::Items;
using test::kSelectSource;

class CommandsTest : public test::ApplicationTest {
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
    std::vector<std::string> CaptureItems() {
        test::MenuAnswer answer;
        QTest::mouseClick(app_->Window()->Button(cmd::kFileButton), Qt::LeftButton);
        return Items(*answer.Shown().at(0)->actions()[0]->menu());
    }
    std::vector<std::string> OptionsItems() {
        test::MenuAnswer answer;
        QTest::mouseClick(app_->Window()->Button(cmd::kVideoOptionsButton), Qt::LeftButton);
        return Items(*answer.Shown().at(0));
    }
    void ExpectNoSource() {
        EXPECT_EQ(std::tuple(SourceId(), Streaming()), std::tuple(0, false));
        EXPECT_EQ(OptionsItems().front(), "No options available 0 (off)");
        EXPECT_EQ(CaptureItems(), (std::vector<std::string>{"Videos... 2023 (off)", "Photos... 2024 (off)"}));
    }
};

TEST_F(CommandsTest, ACameraConnectsZoomsResetsAndIsRememberedOnExit) {
    ExpectNoSource();
    EXPECT_EQ(app_->Window()->size(), QSize(386, 327));
    Choose(cmd::kSourceButton, cmd::kFirstCaptureDevice);
    ASSERT_EQ(std::tuple(Streaming(), SourceId()), std::tuple(true, cmd::kFirstCaptureDevice));
    ASSERT_TRUE(PumpUntil([&] { return PacketBytes() > 0; }));
    EXPECT_EQ(app_->Window()->size(), QSize(706, 567));
    EXPECT_EQ(CaptureItems(), (std::vector<std::string>{"Videos... 2023", "Photos... 2024"}));
    EXPECT_EQ(OptionsItems().front(), "Video options >");

    // The zoom drag moves the picture only while the zoom is on.
    EffectChain& effects = app_->Media()->Effects();
    auto* zoom = dynamic_cast<ZoomEffect*>(effects.FindEffect(effects.zoomEffectId()));
    ASSERT_NE(zoom, nullptr);
    QWidget* preview = &app_->Window()->Preview();
    auto drag = [preview] {
        QTest::mousePress(preview, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(preview, QPoint(90, 130));
        QMouseEvent move(QEvent::MouseMove, QPointF(90, 130), QPointF(preview->mapToGlobal(QPoint(90, 130))),
                         Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(preview, &move);
        QTest::mouseRelease(preview, Qt::LeftButton, {}, QPoint(90, 130));
    };
    drag();
    EXPECT_EQ(std::tuple(zoom->offsetX(), zoom->offsetY()), std::tuple(0, 0));

    zoom->SetFactor(512);
    ASSERT_EQ(effects.ActivateEffect(effects.zoomEffectId()), 0);
    drag();
    // Left by 10 and down by 30 on the screen: the picture's offsets grow by (10, 30).
    EXPECT_EQ(std::tuple(zoom->offsetX(), zoom->offsetY()), std::tuple(10, 30));
    EXPECT_FALSE(app_->Window()->Preview().Drag().Dragging());

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

    // Exit closes in order and remembers the source.
    SetDword(reg::kRememberLastSource, 1);
    Choose(cmd::kSourceButton, cmd::kFirstCaptureDevice);
    ASSERT_TRUE(Streaming());
    Choose(cmd::kFileButton, cmd::kClose);
    EXPECT_EQ(std::tuple(app_->Closed(), Streaming(), app_->Window()->isVisible()), std::tuple(true, false, false));
    EXPECT_EQ(std::tuple(ReadRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceType, 0),
                         ReadRegString(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceId)),
              std::tuple(1003u, std::optional<std::string>("pattern:smpte")));
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
        EXPECT_EQ(std::tie(message.text, message.flags), std::tuple(kSelectSource, 0x40u));
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
    EXPECT_EQ(OptionsItems().front(), "Video options >");

    ASSERT_FALSE(app_->Tray().Present());
    QTest::mouseClick(app_->Window()->Button(cmd::kMinimize), Qt::LeftButton);
    EXPECT_TRUE(app_->Window()->isMinimized());
}

// With a tray the window hides into it and a click on the icon brings it back.
class TrayCommandsTest : public test::ApplicationTest {
protected:
    TrayCommandsTest() : previous_(TrayIcon::SetAvailabilityProbe([] { return true; })) {}
    ~TrayCommandsTest() override { TrayIcon::SetAvailabilityProbe(std::move(previous_)); }
    TrayIcon::AvailabilityProbe previous_;
};

TEST_F(TrayCommandsTest, MinimizeHidesIntoTheTrayAndAClickBringsItBack) {
    ASSERT_EQ(Start(), std::nullopt);
    ASSERT_TRUE(app_->Tray().Present());
    Send(cmd::kMinimize);
    EXPECT_TRUE(app_->Window()->isHidden());
    TrayNotifyEvent middle(Qt::MiddleButton);
    QCoreApplication::sendEvent(app_->Window(), &middle);
    EXPECT_TRUE(app_->Window()->isHidden());
    TrayNotifyEvent right(Qt::RightButton);
    QCoreApplication::sendEvent(app_->Window(), &right);
    EXPECT_TRUE(app_->Window()->isVisible());
    app_->Close();
    EXPECT_FALSE(app_->Tray().Present());
}

}  // namespace
}  // namespace lumora
