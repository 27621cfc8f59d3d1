// The tool windows in a running Lumora: the test camera's picture through the snapshot
// manager and the recording dialog, compared with what the virtual camera received.
#include "../../app/window/application_fixture.h"
#include "cli_outputs.h"
#include "tools/desktop_options_dialog.h"
#include "tools/image_options_dialog.h"
#include "tools/playlist_dialog.h"
#include "tools/recording_dialog.h"
#include "tools/snapshot_manager.h"
#include "tools/thumbnail_grid.h"

#include <lumora/zimage.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gst/app/gstappsink.h>

#include <fstream>

namespace lumora::test {
namespace {

// The payload of the last whole packet in a packet file, bottom row first.
std::vector<unsigned char> LastPacketFrame(const std::string& path, int& width, int& height) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[FramePacket::kHeaderSize];
    if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return {};
    std::memcpy(&width, header + 20, 4);
    std::memcpy(&height, header + 24, 4);
    const std::size_t packet = sizeof header + ZImage_CalcImageSize(width, height, 24);
    file.seekg(0, std::ios::end);
    const auto whole = static_cast<std::size_t>(file.tellg()) / packet;
    std::vector<unsigned char> frame(packet - sizeof header);
    file.seekg(static_cast<std::streamoff>((whole - 1) * packet + sizeof header));
    file.read(reinterpret_cast<char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
    return frame;
}

// The mean difference per channel between a picture (top row first) and a frame, left of
// the test pattern's noise, which changes from frame to frame.
double MeanDifference(const QImage& picture, const std::vector<unsigned char>& frame, int width, int height) {
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
    if (bgr.width() != width || bgr.height() != height) return 255;
    const std::size_t stride = ZImage_CalcWidthBytes(width, 24);
    double sum = 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = frame.data() + static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width * 3 * 3 / 4; ++x) sum += std::abs(int{row[x]} - int{bgr.constScanLine(y)[x]});
    }
    return sum / (width * 3 * 3 / 4 * height);
}

// The first picture of a recording, decoded by GStreamer.
QImage FirstRecordedPicture(const std::string& path) {
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(("filesrc location=\"" + path +
                                             "\" ! decodebin ! videoconvert ! video/x-raw,format=BGR ! "
                                             "appsink name=sink sync=false")
                                                .c_str(),
                                            &error);
    if (!pipeline) return {};
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND);
    QImage picture;
    if (sample) {
        GstStructure* caps = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
        int width = 0, height = 0;
        gst_structure_get_int(caps, "width", &width);
        gst_structure_get_int(caps, "height", &height);
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            picture = QImage(map.data, width, height, static_cast<qsizetype>(ZImage_CalcWidthBytes(width, 24)),
                             QImage::Format_BGR888)
                          .copy();
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return picture;
}

class ToolWindowsTest : public ApplicationTest {
protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        RememberCam();
        ASSERT_EQ(Start(), std::nullopt);
        ASSERT_TRUE(PumpUntil([this] { return PacketBytes() > 2 * 640 * 480 * 3; }));
    }
    template <class Dialog>
    Dialog* Find() const {
        return app_->Window()->findChild<Dialog*>(QString(), Qt::FindDirectChildrenOnly);
    }
    static void Press(TemplateDialog* dialog, int id) { dialog->Control<QPushButton>(id)->click(); }
    static void Screenshot(QWidget* widget, const char* name) {
        std::filesystem::create_directories(LUMORA_GALLERY_DIR);
        widget->grab().save(QString(LUMORA_GALLERY_DIR) + "/" + name);
    }

    ScopedEnv videos_{"XDG_VIDEOS_DIR", dir_.file("Videos").c_str()};
};

TEST_F(ToolWindowsTest, SnapshotsAreTheFrameTheVirtualCameraReceived) {
    ASSERT_TRUE(app_->Dialogs().Has(ToolDialog::kSnapshots));
    app_->Dialogs().Open(ToolDialog::kSnapshots, app_->Window());
    auto* manager = Find<SnapshotManager>();
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(manager->isVisible());
    Press(manager, SnapshotManager::kIdTakeSnapshot);
    int width = 0, height = 0;
    const std::vector<unsigned char> sent = LastPacketFrame(Packets(), width, height);
    ASSERT_EQ(manager->Album().Count(), 1);
    const FrameCopy& taken = manager->Album().At(0).frame;
    ASSERT_EQ(taken.width, width);
    ASSERT_EQ(std::vector<unsigned char>(taken.pixels.get(), taken.pixels.get() + taken.size), sent);

    manager->Control<QLineEdit>(SnapshotManager::kIdFolder)->setText(QString::fromStdString(dir_.path().string()));
    Press(manager, SnapshotManager::kIdTakeSnapshot);
    Press(manager, SnapshotManager::kIdSaveAll);
    EXPECT_LT(MeanDifference(QImage(QString::fromStdString(dir_.file("snapshot000.jpg"))), sent, width, height), 3.0);
    Screenshot(manager, "tools-snapshots.png");

    // "Photos..." again hides it at once.
    app_->Dialogs().Open(ToolDialog::kSnapshots, app_->Window());
    EXPECT_FALSE(manager->isVisible());
}

TEST_F(ToolWindowsTest, ARecordingFromTheDialogHoldsTheProcessedFramesAndPlaysBack) {
    ASSERT_TRUE(app_->Dialogs().Has(ToolDialog::kRecording));
    app_->Dialogs().Open(ToolDialog::kRecording, app_->Window());
    auto* dialog = Find<RecordingDialog>();
    ASSERT_NE(dialog, nullptr);
    const std::string file = dir_.file("take.avi");
    dialog->SetDestinationFile(file);
    Press(dialog, RecordingDialog::kIdStart);
    ASSERT_TRUE(PumpUntil([&] { return dialog->Recording(); }));
    QTest::qWait(1500);
    EXPECT_NE(dialog->Control<QLabel>(RecordingDialog::kIdSize)->text(), "");
    Screenshot(dialog, "tools-recording.png");
    int width = 0, height = 0;
    const std::vector<unsigned char> sent = LastPacketFrame(Packets(), width, height);
    Press(dialog, RecordingDialog::kIdStop);
    ASSERT_TRUE(PumpUntil([&] { return !dialog->Recording() && Streaming(); }));

    EXPECT_LT(MeanDifference(FirstRecordedPicture(file), sent, width, height), 1.0);
    if (HaveFfprobe()) {
        const std::optional<Probe> probe = Ffprobe(file);
        ASSERT_TRUE(probe.has_value());
        EXPECT_EQ(probe->width, width);
        EXPECT_GT(probe->frames, 10);
    }
    Press(dialog, RecordingDialog::kIdPlay);
    EXPECT_TRUE(dialog->Playback().Playing());
    EXPECT_TRUE(PumpUntil([&] { return !dialog->Control<QLabel>(RecordingDialog::kIdStatus)->pixmap().isNull(); }));
    Screenshot(dialog, "tools-recording-playback.png");
    dialog->HideAndStop();
    EXPECT_FALSE(dialog->Playback().Playing());
}

// For people to look at: the modal tool dialogs as the program shows them.
TEST_F(ToolWindowsTest, ScreenshotsOfTheModalDialogs) {
    Playlist& playlist = app_->Sources()->Videos();
    for (const char* file : {"/home/me/Videos/holiday.avi", "/home/me/Videos/party.mpg"}) playlist.AddFile(file);
    PlaylistDialog list(playlist, app_->Window(), app_->Window());
    Screenshot(&list, "tools-playlist.png");
    ImageOptionsDialog image(640, 480, 30, app_->Window());
    Screenshot(&image, "tools-image-options.png");
    DesktopOptionsDialog desktop(640, 480, 5, ZImageRect{0, 0, 640, 480}, app_->Window());
    Screenshot(&desktop, "tools-desktop-options.png");
    EXPECT_TRUE(std::filesystem::exists(std::string(LUMORA_GALLERY_DIR) + "/tools-desktop-options.png"));
}

}  // namespace
}  // namespace lumora::test
