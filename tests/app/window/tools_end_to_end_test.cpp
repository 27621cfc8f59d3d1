// The tools as a user reaches them: from the running program's menus, with real clicks and
// keys on the test's X server.
#include "app/window/command_ids.h"
#include "capture_device_gst_fixture.h"
#include "packet_file.h"
#include "x_session_test.h"

#include <QImage>
#include <QSet>

#include <csignal>

namespace lumora {
namespace {

class ToolsEndToEndTest : public XSessionTest {
protected:
    // Opens the menu of button `id` and walks it: "Down", "Up", "Right" (into a submenu),
    // then Return; succeeds when the menu closed.
    ::testing::AssertionResult Choose(QRect main, int id, std::initializer_list<const char*> keys) {
        if (OpenMenu(main, id).isEmpty()) return ::testing::AssertionFailure() << "the menu did not open";
        for (const char* key : keys) {
            x_->Key(key);
            QThread::msleep(100);  // a submenu opens
        }
        x_->Key("Return");
        return WaitForNoPopup();
    }
    // The mean difference per channel between a picture and the virtual camera's last
    // 640 x 480 frame (bottom row first), left of the test pattern's noise, which changes
    // from frame to frame.
    double DifferenceFromTheLastPacket(const QImage& picture) const {
        test::PacketFile packets(Packets());
        const std::vector<unsigned char> packet = packets.Packet(packets.Count() - 1);
        const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
        if (bgr.size() != QSize(640, 480) || packet.size() != FramePacket::kHeaderSize + 640 * 480 * 3) return 255;
        double sum = 0;
        for (int y = 0; y < 480; ++y) {
            const unsigned char* row = packet.data() + FramePacket::kHeaderSize + (479 - y) * 640 * 3;
            for (int x = 0; x < 640 * 3 * 3 / 4; ++x) sum += std::abs(int{row[x]} - int{bgr.constScanLine(y)[x]});
        }
        return sum / (640 * 3 * 3 / 4 * 480);
    }
    // The first picture of a recording, decoded by GStreamer.
    QImage FirstRecordedPicture(const std::string& video) const {
        gst_init(nullptr, nullptr);
        const std::string png = dir_.file("first.png");
        const std::string line = "filesrc location=\"" + video +
                                 "\" ! decodebin ! videoconvert ! pngenc snapshot=true ! filesink location=\"" + png +
                                 "\"";
        test::PipelinePtr pipeline(gst_parse_launch(line.c_str(), nullptr));
        return pipeline && test::RunToEos(pipeline.get()) ? QImage(QString::fromStdString(png)) : QImage();
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
};

// File > Capture > Photos... and Videos...: a snapshot is taken and saved into the default
// folder, which Save all creates; a recording is made, played back in the dialog, and
// left in the default videos folder under the first free name; both hold the picture the
// virtual camera got.
TEST_F(ToolsEndToEndTest, EveryToolFromTheMenusOfOneRun) {
    RememberCam();
    auto lumora = Lumora();
    ASSERT_TRUE(lumora->Start({}));
    ASSERT_TRUE(WaitFor([&] { return PacketBytes() > 0 && x_->FindWindows("Lumora").size() == 1; }))
        << lumora->Wait(1000).err;
    QThread::msleep(300);
    const QRect main = x_->FindWindows("Lumora").front();

    ASSERT_TRUE(Choose(main, cmd::kFileButton, {"Down", "Right", "Down"}));
    const QRect snapshots = WaitForWindow("Snapshot manager");
    ASSERT_FALSE(snapshots.isEmpty());
    const QSize snapshotUnits(307, 297);
    const QRect grid(Control(snapshots, snapshotUnits, {12, 12, 0, 0}),
                     Control(snapshots, snapshotUnits, {295, 150, 0, 0}));
    const int emptyGrid = Colours(grid);
    x_->Click(Control(snapshots, snapshotUnits, {12, 156, 66, 14}));  // Take snapshot
    EXPECT_TRUE(WaitFor([&] { return Colours(grid) > emptyGrid + 4; }, 5000)) << "no thumbnail came";

    const std::string saved = dir_.file("pictures/Lumora/snapshot000.jpg");
    x_->Click(Control(snapshots, snapshotUnits, {195, 276, 50, 14}));  // Save all
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(saved); }, 10000));
    QThread::msleep(500);  // "Snapshots saved!"
    x_->Key("Return");
    QThread::msleep(300);
    EXPECT_LT(DifferenceFromTheLastPacket(QImage(QString::fromStdString(saved))), 3.0);  // a JPEG of the frame sent
    x_->Click(Control(snapshots, snapshotUnits, {251, 276, 50, 14}));  // Close: all saved, no question
    ASSERT_TRUE(WaitForNoWindow("Snapshot manager"));

    ASSERT_TRUE(Choose(main, cmd::kFileButton, {"Down", "Right"}));
    const QRect recording = WaitForWindow("Recording to file");
    ASSERT_FALSE(recording.isEmpty());
    const QSize recordingUnits(262, 150);
    QThread::msleep(300);  // settled where it was mapped
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
    QThread::msleep(2500);                                             // seconds of frames
    x_->Click(Control(recording, recordingUnits, {24, 132, 16, 14}));  // Stop
    QThread::msleep(1000);
    EXPECT_GT(std::filesystem::file_size(video), 640u * 480 * 3 * 10);  // seconds of raw frames
    EXPECT_LT(DifferenceFromTheLastPacket(FirstRecordedPicture(video)), 1.0);  // the processed frames
    const QRect status(Control(recording, recordingUnits, {8, 38, 0, 0}),
                       Control(recording, recordingUnits, {124, 124, 0, 0}));
    x_->Click(Control(recording, recordingUnits, {6, 132, 16, 14}));  // Play
    EXPECT_TRUE(WaitFor([&] { return Colours(status) > 8; }, 10000)) << "the recording did not play";
    x_->Key("Escape");
    ASSERT_TRUE(WaitForNoWindow("Recording to file"));

    lumora->Signal(SIGTERM);
    EXPECT_EQ(lumora->Wait(10000).exitCode, 0);
}

}  // namespace
}  // namespace lumora
