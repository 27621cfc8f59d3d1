#include "../test_environment.h"
#include "source_graph_fixture.h"
#include "video/recording_folder.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace lumora {
namespace {

using test::AviFacts;
using test::SourceGraphTest;

constexpr std::uint64_t kVgaFrameBytes = 640 * 480 * 3;
constexpr std::uint32_t kMjpg = 'M' | 'J' << 8 | 'P' << 16 | 'G' << 24;

class SourceGraphRecording : public SourceGraphTest {
protected:
    void SetUp() override {
        SourceGraphTest::SetUp();
        ASSERT_TRUE(graph_.SelectCaptureDevice(Camera()));
        ASSERT_TRUE(graph_.Run());
        ASSERT_TRUE(WaitForFrames(1));
        device_ = gst_bin_get_by_name(GST_BIN(graph_.Pipeline()), "Video Capture");
    }
    void TearDown() override {
        if (device_ != nullptr) gst_object_unref(device_);
    }

    // Records `frames` frames into `file` (through the selected compressor, if any) and stops again.
    void Record(const std::string& file, std::uint64_t frames) {
        counter_.Reset();
        ASSERT_EQ(graph_.RestartCapture(true, file), S_OK);
        EXPECT_TRUE(graph_.RecordToFile());
        EXPECT_TRUE(Contains("Grabber Counter"));
        EXPECT_EQ(Contains("Codec"), graph_.Compressors().Selected() >= 0);
        ASSERT_TRUE(WaitForFrames(frames));
        ASSERT_EQ(graph_.RestartCapture(false, ""), S_OK);
        EXPECT_FALSE(graph_.RecordToFile());
        EXPECT_FALSE(Contains("Grabber Counter"));
    }

    // The preview runs on with the same device in the same format.
    void ExpectPreviewGoesOn() {
        GstElement* device = gst_bin_get_by_name(GST_BIN(graph_.Pipeline()), "Video Capture");
        EXPECT_EQ(device, device_);
        if (device != nullptr) gst_object_unref(device);
        const int shown = preview_.Frames();
        ASSERT_TRUE(test::WaitUntil([&] { return preview_.Frames() >= shown + 3; }));
        EXPECT_EQ(preview_.LastSize(), QSize(640, 480));
    }

public:
    // A second reader, where ffprobe is installed, finds the same video.
    static void ExpectFfprobeAgrees(const std::string& file, const AviFacts& avi) {
        if (const auto probe = test::Ffprobe(file)) {
            EXPECT_EQ(probe->width, avi.width);
            EXPECT_EQ(probe->height, avi.height);
            EXPECT_EQ(probe->frames, avi.frames);
        }
    }

protected:
    int CompressorNamed(const std::string& name) {
        const auto& names = graph_.Compressors().Names();
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }

    test::TempDir dir_;
    GstElement* device_ = nullptr;
};

TEST_F(SourceGraphRecording, WithoutCompressionTheFileHoldsEveryCountedRgb24FrameTheRightWayUp) {
    const std::string file = dir_.file("plain.avi");
    Record(file, 15);

    const std::uint64_t counted = counter_.Read();
    ASSERT_GT(counted, 0u);
    EXPECT_EQ(counted % kVgaFrameBytes, 0u);  // one RGB24 frame per frame
    const AviFacts avi = test::ReadAvi(file);
    EXPECT_EQ(avi.mediaType, "video/x-raw");
    EXPECT_EQ(avi.width, 640);
    EXPECT_EQ(avi.height, 480);
    EXPECT_EQ(avi.bitCount, 24);
    EXPECT_EQ(avi.compression, 0u);
    EXPECT_EQ(static_cast<std::uint64_t>(avi.frames), counted / kVgaFrameBytes);
    EXPECT_EQ(avi.headerFrames, static_cast<std::uint32_t>(avi.frames));
    ExpectFfprobeAgrees(file, avi);
    // Demuxed top row first: SMPTE bars begin with light grey at the top left.
    ASSERT_GE(avi.firstFrame.size(), kVgaFrameBytes);
    EXPECT_GT(avi.firstFrame[0], 150);
    EXPECT_LT(std::abs(avi.firstFrame[0] - avi.firstFrame[2]), 12);
    ExpectPreviewGoesOn();
    EXPECT_TRUE(messages_.Messages().empty()) << ::testing::PrintToString(MessageTexts());
}

TEST_F(SourceGraphRecording, WithJpegencTheFileHoldsMotionJpegThatDecodes) {
    const int jpeg = CompressorNamed("JPEG image encoder");
    ASSERT_GE(jpeg, 0);
    graph_.Compressors().SetSelected(jpeg);
    const std::string file = dir_.file("jpeg.avi");
    Record(file, 10);

    const AviFacts avi = test::ReadAvi(file, "jpegdec");
    EXPECT_EQ(avi.compression, kMjpg);
    EXPECT_EQ(avi.width, 640);
    EXPECT_EQ(avi.height, 480);
    EXPECT_GT(avi.frames, 0);
    EXPECT_EQ(avi.headerFrames, static_cast<std::uint32_t>(avi.frames));
    ExpectFfprobeAgrees(file, avi);
    const std::uint64_t counted = counter_.Read();
    EXPECT_GT(counted, 0u);
    EXPECT_LT(counted, static_cast<std::uint64_t>(avi.frames) * kVgaFrameBytes);  // compressed
    ExpectPreviewGoesOn();
    EXPECT_TRUE(messages_.Messages().empty()) << ::testing::PrintToString(MessageTexts());
}

TEST_F(SourceGraphRecording, AnExistingFileIsReplacedAndStoppingTheGraphFinishesIt) {
    const std::string file = dir_.file("old.avi");
    test::WriteFileText(file, std::string(4 << 20, 'x'));
    counter_.Reset();
    ASSERT_EQ(graph_.RestartCapture(true, file), S_OK);
    ASSERT_TRUE(WaitForFrames(5));
    ASSERT_TRUE(graph_.Stop());

    const std::vector<unsigned char> bytes = test::ReadFileBytes(file);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    const AviFacts avi = test::ReadAvi(file);
    EXPECT_GT(avi.frames, 0);
    EXPECT_EQ(avi.headerFrames, static_cast<std::uint32_t>(avi.frames));  // finished, not cut off
    EXPECT_EQ(static_cast<std::uint64_t>(avi.frames) * kVgaFrameBytes, counter_.Read());
}

TEST_F(SourceGraphRecording, WithoutANameTheRecordingGoesToTheNextFreeDefaultName) {
    test::ScopedEnv videos("XDG_VIDEOS_DIR", dir_.path().c_str());
    std::filesystem::create_directories(dir_.path() / "Lumora");
    test::WriteFileText(dir_.file("Lumora/video000.avi"), "");
    ASSERT_EQ(graph_.RestartCapture(true, ""), S_OK);
    ASSERT_TRUE(WaitForFrames(3));
    graph_.Teardown(true, true);  // another source, or exit: the file is finished too
    const AviFacts avi = test::ReadAvi(dir_.file("Lumora/video001.avi"));
    EXPECT_GT(avi.frames, 0);
    EXPECT_EQ(avi.headerFrames, static_cast<std::uint32_t>(avi.frames));
}

TEST_F(SourceGraphRecording, NoFreeDefaultNameFailsTheRenderAndNeverStartsRecording) {
    test::ScopedEnv videos("XDG_VIDEOS_DIR", dir_.path().c_str());
    std::filesystem::create_directories(dir_.path() / "Lumora");
    for (int n = 0; n < 1000; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "Lumora/video%03d.avi", n);
        test::WriteFileText(dir_.file(name), "");
    }
    EXPECT_EQ(graph_.RestartCapture(true, ""), E_FAIL);
    ASSERT_EQ(messages_.Messages().size(), 1u) << ::testing::PrintToString(MessageTexts());
    EXPECT_EQ(messages_.Messages()[0].text.rfind("Couldn't render GStreamer filters sequence!\n\n"
                                                 "System error message (0x80004005):\n", 0), 0u);
    EXPECT_EQ(messages_.Messages()[0].flags, 0x30u);
    EXPECT_FALSE(graph_.RecordToFile());
}

TEST_F(SourceGraphRecording, ANewSourceNeverStartsRecordingByItself) {
    ASSERT_EQ(graph_.RestartCapture(true, dir_.file("one.avi")), S_OK);
    ASSERT_TRUE(graph_.SelectCaptureDevice(Camera("ball")));
    EXPECT_FALSE(graph_.RecordToFile());
    EXPECT_FALSE(Contains("Grabber Counter"));
    EXPECT_EQ(graph_.RecordingFileName(), dir_.file("one.avi"));  // kept for the next recording
}

// A file's demuxer does not stop for an end of stream sent to the pipeline: the recording
// is cut where it leaves the tee, after the frames handed off so far, while the source
// runs on (as the headless front end ends a run of N frames).
TEST(SourceGraphFileRecording, EndingKeepsExactlyTheFramesHandedOffWhileTheSourceGoesOn) {
    gst_init(nullptr, nullptr);
    MessageRecorder messages;
    FrameStore store;
    RecordedBytesCounter counter;
    test::EventCounter window;
    SourceGraph graph(store, counter);
    graph.Initialize(nullptr, &window);
    graph.SetRealTime(false);
    constexpr int kKept = 30;
    std::mutex mutex;
    std::condition_variable changed;
    int passed = 0;
    bool open = false;
    graph.SetHandOffGate([&] {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return open || passed < kKept; });
        ++passed;
    });
    test::TempDir dir;
    const std::string file = dir.file("thirty.avi");
    graph.RecordNextBuild(file);
    ASSERT_TRUE(graph.SelectVideoFile(test::TestDataPath("Megamind.avi")));
    ASSERT_TRUE(graph.Run());
    const auto handedOff = [&] {
        std::lock_guard lock(mutex);
        return passed;
    };
    ASSERT_TRUE(test::WaitUntil([&] { return handedOff() == kKept; }));

    graph.EndRecording();
    {
        std::lock_guard lock(mutex);
        open = true;
    }
    changed.notify_all();
    ASSERT_TRUE(test::WaitUntil([&] { return handedOff() >= 3 * kKept; }));
    graph.Teardown(true, true);

    const AviFacts avi = test::ReadAvi(file);
    EXPECT_EQ(avi.frames, kKept);
    EXPECT_EQ(avi.headerFrames, static_cast<std::uint32_t>(kKept));
    SourceGraphRecording::ExpectFfprobeAgrees(file, avi);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(SourceGraphRestart, WithoutAGraphThereIsNothingToRestart) {
    gst_init(nullptr, nullptr);
    MessageRecorder messages;
    FrameStore store;
    RecordedBytesCounter counter;
    SourceGraph graph(store, counter);
    EXPECT_EQ(graph.RestartCapture(true, "/tmp/x.avi"), E_POINTER);
    EXPECT_TRUE(messages.Messages().empty());
}

}  // namespace
}  // namespace lumora
