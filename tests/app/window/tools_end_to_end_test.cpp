// The tools as a user reaches them: from the running program's menus, with real clicks and
// keys on the test's X server. Each dialog's screenshot stays in the build folder's
// screenshots/ for people to look at.
#include "app/window/command_ids.h"
#include "x_session_test.h"

#include <QImage>
#include <QSet>

#include <unistd.h>

namespace lumora {
namespace {

class ToolsEndToEndTest : public XSessionTest {
protected:
    // The main window of a program that streams the test camera.
    QRect StartWithCamera() {
        RememberCam();
        lumora_ = Lumora();
        EXPECT_TRUE(lumora_->Start({}));
        EXPECT_TRUE(WaitFor([&] { return PacketBytes() > 0 && x_->FindWindows("Lumora").size() == 1; }))
            << lumora_->Wait(1000).err;
        QThread::msleep(300);
        const std::vector<QRect> windows = x_->FindWindows("Lumora");
        return windows.empty() ? QRect() : windows.front();
    }
    // Opens the menu of button `id` and walks it: "Down", "Up", "Right" (into a submenu),
    // then Return; true when the menu closed.
    bool Choose(QRect main, int id, std::initializer_list<const char*> keys) {
        if (OpenMenu(main, id).isEmpty()) return false;
        for (const char* key : keys) {
            x_->Key(key);
            QThread::msleep(100);  // a submenu opens
        }
        x_->Key("Return");
        const ::testing::AssertionResult closed = WaitForNoPopup();
        if (!closed) {
            ADD_FAILURE() << closed.message();
            Screenshot(main.united(Popup()).adjusted(0, 0, 300, 0), "failed-menu-choice");
        }
        return closed;
    }
    void Quit() {
        lumora_->Signal(SIGTERM);
        EXPECT_EQ(lumora_->Wait(10000).exitCode, 0);
    }
    // Distinct colours in `area`: a picture of the test camera's bars has many, an empty
    // or grey control few.
    int Colours(QRect area) const {
        const QImage image = x_->Grab(area);
        QSet<QRgb> seen;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2) seen.insert(image.pixel(x, y));
        }
        return static_cast<int>(seen.size());
    }

    std::unique_ptr<test::ToolProcess> lumora_;
};

// File > Capture > Photos... and Videos...: a snapshot is taken and saved into the default
// folder, which Save all creates; a recording is made, played back in the dialog, and
// left in the default videos folder under the first free name.
TEST_F(ToolsEndToEndTest, SnapshotsAndARecordingFromTheFileMenu) {
    const QRect main = StartWithCamera();
    ASSERT_FALSE(main.isEmpty());

    ASSERT_TRUE(Choose(main, cmd::kFileButton, {"Down", "Right", "Down"}));
    const QRect snapshots = WaitForWindow("Snapshot manager");
    ASSERT_FALSE(snapshots.isEmpty());
    const QSize snapshotUnits(307, 297);
    const QRect grid(Control(snapshots, snapshotUnits, {12, 12, 0, 0}),
                     Control(snapshots, snapshotUnits, {295, 150, 0, 0}));
    const int emptyGrid = Colours(grid);
    x_->Click(Control(snapshots, snapshotUnits, {12, 156, 66, 14}));  // Take snapshot
    EXPECT_TRUE(WaitFor([&] { return Colours(grid) > emptyGrid + 4; }, 5000)) << "no thumbnail came";
    QThread::msleep(200);
    Screenshot(snapshots, "snapshot-manager");

    const std::string saved = dir_.file("pictures/Lumora/snapshot000.jpg");
    x_->Click(Control(snapshots, snapshotUnits, {195, 276, 50, 14}));  // Save all
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(saved); }, 10000));
    QThread::msleep(500);  // "Snapshots saved!"
    Screenshot(snapshots, "snapshot-manager-saved");
    x_->Key("Return");
    QThread::msleep(300);
    EXPECT_EQ(QImage(QString::fromStdString(saved)).size(), QSize(640, 480));
    x_->Click(Control(snapshots, snapshotUnits, {251, 276, 50, 14}));  // Close: all saved, no question
    ASSERT_TRUE(WaitForNoWindow("Snapshot manager"));

    ASSERT_TRUE(Choose(main, cmd::kFileButton, {"Down", "Right"}));
    const QRect recording = WaitForWindow("Recording to file");
    ASSERT_FALSE(recording.isEmpty());
    const QSize recordingUnits(262, 150);
    QThread::msleep(300);
    Screenshot(recording, "recording");
    // Browse... offers the first free name in the videos folder; Return takes it.
    const std::string video = dir_.file("videos/Lumora/video000.avi");
    const std::size_t windows = x_->FindWindows("").size();
    x_->Click(Control(recording, recordingUnits, {210, 18, 48, 12}));
    ASSERT_TRUE(WaitFor([&] { return x_->FindWindows("").size() > windows; }, 15000));
    QThread::msleep(800);
    x_->Key("Return");
    ASSERT_TRUE(WaitFor([&] { return x_->FindWindows("").size() <= windows; }, 5000));
    x_->Click(Control(recording, recordingUnits, {109, 132, 16, 14}));  // Start
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(video); }, 10000));
    QThread::msleep(2500);  // the elapsed time and size count up
    Screenshot(recording, "recording-running");
    x_->Click(Control(recording, recordingUnits, {24, 132, 16, 14}));  // Stop
    QThread::msleep(1000);
    EXPECT_GT(std::filesystem::file_size(video), 640u * 480 * 3 * 10);  // seconds of raw frames
    const QRect status(Control(recording, recordingUnits, {8, 38, 0, 0}),
                       Control(recording, recordingUnits, {124, 124, 0, 0}));
    x_->Click(Control(recording, recordingUnits, {6, 132, 16, 14}));  // Play
    EXPECT_TRUE(WaitFor([&] { return Colours(status) > 8; }, 10000)) << "the recording did not play";
    Screenshot(recording, "recording-playback");
    x_->Key("Escape");
    ASSERT_TRUE(WaitForNoWindow("Recording to file"));
    Quit();
}

// Video source > Image file... and Desktop, each with its Video options > Video output
// stream; Video file... with Video options > Video playlist. Files are typed into the
// program's own file dialogs.
TEST_F(ToolsEndToEndTest, SourceOptionsAndThePlaylistFromTheVideoMenus) {
    // Typed key by key, so the folder's name is lower case.
    const std::filesystem::path files =
        std::filesystem::temp_directory_path() / ("lumora-tools-" + std::to_string(::getpid()));
    std::filesystem::create_directories(files);
    const std::string picture = (files / "picture.jpg").string();
    const std::string clip = (files / "clip.avi").string();
    std::filesystem::copy_file(test::TestDataPath("messi5.jpg"), picture);
    std::filesystem::copy_file(test::TestDataPath("Megamind.avi"), clip);
    const QRect main = StartWithCamera();
    ASSERT_FALSE(main.isEmpty());

    ASSERT_TRUE(Choose(main, cmd::kSourceButton, {"Up", "Up"}));  // Image file...
    ASSERT_TRUE(AnswerFileDialog(1, picture));
    ASSERT_TRUE(Choose(main, cmd::kVideoOptionsButton, {"Down", "Right"}));  // Video output stream
    QRect options = WaitForWindow("Video source options");
    ASSERT_FALSE(options.isEmpty());
    QThread::msleep(300);
    Screenshot(options, "source-options-picture");
    x_->Key("Escape");
    ASSERT_TRUE(WaitForNoWindow("Video source options"));

    ASSERT_TRUE(Choose(main, cmd::kSourceButton, {"Up"}));  // Desktop
    QThread::msleep(1000);
    ASSERT_TRUE(Choose(main, cmd::kVideoOptionsButton, {"Down", "Right"}));
    options = WaitForWindow("Video source options");
    ASSERT_FALSE(options.isEmpty());
    QThread::msleep(300);
    Screenshot(options, "source-options-desktop");
    const QSize desktopUnits(184, 236);
    x_->Click(Control(options, desktopUnits, {96, 192, 78, 14}));  // Select rectangle...
    // The picker covers the whole screen with its frozen copy.
    ASSERT_TRUE(WaitFor(
        [&] {
            for (const QRect& window : x_->FindWindows("")) {
                if (window.size() == QSize(1024, 768)) return true;
            }
            return false;
        },
        10000));
    QThread::msleep(300);
    x_->MoveTo({100, 100});
    x_->Press(1);
    for (int step = 1; step <= 10; ++step) {
        x_->MoveTo(QPoint(100, 100) + QPoint(step * 32, step * 24));
        QThread::msleep(20);
    }
    Screenshot(QRect(0, 0, 1024, 768), "desktop-picker");
    x_->Release(1);
    options = WaitForWindow("Video source options");
    ASSERT_FALSE(options.isEmpty());
    QThread::msleep(300);
    Screenshot(options, "source-options-desktop-picked");
    x_->Key("Escape");
    ASSERT_TRUE(WaitForNoWindow("Video source options"));

    ASSERT_TRUE(Choose(main, cmd::kSourceButton, {"Up", "Up", "Up"}));  // Video file...
    ASSERT_TRUE(AnswerFileDialog(1, clip));
    QThread::msleep(1000);
    ASSERT_TRUE(Choose(main, cmd::kVideoOptionsButton, {"Down", "Right"}));  // Video playlist
    const QRect playlist = WaitForWindow("Video playlist");
    ASSERT_FALSE(playlist.isEmpty());
    QThread::msleep(300);
    Screenshot(playlist, "playlist");
    x_->Click(Control(playlist, QSize(335, 163), {279, 144, 50, 14}));  // Close
    ASSERT_TRUE(WaitForNoWindow("Video playlist"));
    Quit();
    std::filesystem::remove_all(files);
}

}  // namespace
}  // namespace lumora
