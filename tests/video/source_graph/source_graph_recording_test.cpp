// Recordings of the source graph: a camera's, raw and through jpegenc, under given and
// default names; and through every compressor the list offers (what `lumora-cli codecs`
// prints) a clip of 15 frames at an even and at an odd size, which played back gives all
// 15 frames at the size the encoder was given.
#include "../test_environment.h"
#include "source_graph_fixture.h"

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

    // Records `frames` more frames into `file` (through the selected compressor, if any) and stops again.
    void Record(const std::string& file, std::uint64_t frames) {
        counter_.Reset();
        ASSERT_EQ(graph_.RestartCapture(true, file), S_OK);
        EXPECT_EQ(std::tuple(graph_.RecordToFile(), Contains("Grabber Counter"), Contains("Codec")),
                  std::tuple(true, true, graph_.Compressors().Selected() >= 0));
        ASSERT_TRUE(WaitForFrames(graph_.GrabberFrames().buffers + frames));
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

    int CompressorNamed(const std::string& name) {
        const auto& names = graph_.Compressors().Names();
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }

    test::TempDir dir_;
    GstElement* device_ = nullptr;
};

TEST_F(SourceGraphRecording, RawFilesHoldEveryCountedFrameUprightJpegencCompressesAndStoppingFinishesAFile) {
    const std::string file = dir_.file("plain.avi");
    Record(file, 5);

    const std::uint64_t counted = counter_.Read();
    ASSERT_GT(counted, 0u);
    EXPECT_EQ(counted % kVgaFrameBytes, 0u);  // one RGB24 frame per frame
    const AviFacts avi = test::ReadAvi(file);
    EXPECT_EQ(std::tuple(avi.mediaType, avi.width, avi.height, avi.bitCount, avi.compression),
              std::tuple("video/x-raw", 640, 480, 24, 0u));
    EXPECT_EQ(std::tuple(std::uint64_t(avi.frames), std::uint64_t(avi.headerFrames)),
              std::tuple(counted / kVgaFrameBytes, counted / kVgaFrameBytes));
    // Demuxed top row first: SMPTE bars begin with light grey at the top left.
    ASSERT_GE(avi.firstFrame.size(), kVgaFrameBytes);
    EXPECT_TRUE(avi.firstFrame[0] > 150 && std::abs(avi.firstFrame[0] - avi.firstFrame[2]) < 12);
    ExpectPreviewGoesOn();

    // Through jpegenc: Motion JPEG that decodes, and the counter sees the compressed bytes.
    const int jpeg = CompressorNamed("JPEG image encoder");
    ASSERT_GE(jpeg, 0);
    graph_.Compressors().SetSelected(jpeg);
    Record(dir_.file("jpeg.avi"), 5);
    const AviFacts mjpeg = test::ReadAvi(dir_.file("jpeg.avi"), "jpegdec");
    EXPECT_EQ(std::tuple(mjpeg.compression, mjpeg.width, mjpeg.height), std::tuple(kMjpg, 640, 480));
    EXPECT_EQ(std::tuple(mjpeg.frames > 0, mjpeg.headerFrames), std::tuple(true, std::uint32_t(mjpeg.frames)));
    EXPECT_TRUE(counter_.Read() > 0 && counter_.Read() < std::uint64_t(mjpeg.frames) * kVgaFrameBytes)
        << counter_.Read();
    ExpectPreviewGoesOn();
    EXPECT_TRUE(messages_.Messages().empty()) << ::testing::PrintToString(MessageTexts());

    // An existing file is replaced, and stopping the graph finishes the recording too.
    graph_.Compressors().SetSelected(-1);
    const std::string old = dir_.file("old.avi");
    test::WriteFileText(old, std::string(4 << 20, 'x'));
    counter_.Reset();
    ASSERT_EQ(graph_.RestartCapture(true, old), S_OK);
    ASSERT_TRUE(WaitForFrames(graph_.GrabberFrames().buffers + 5));
    ASSERT_TRUE(graph_.Stop());
    const AviFacts replaced = test::ReadAvi(old);
    EXPECT_EQ(std::tuple(replaced.frames > 0, replaced.headerFrames),
              std::tuple(true, std::uint32_t(replaced.frames)));  // finished, not cut off
    EXPECT_EQ(static_cast<std::uint64_t>(replaced.frames) * kVgaFrameBytes, counter_.Read());
}

// The folder is made when missing; then the first free name is taken, not the one after
// the highest; with none left, the render fails and says so.
TEST_F(SourceGraphRecording, WithoutANameTheRecordingGoesToTheFirstFreeDefaultNameAndANewSourceStopsIt) {
    test::ScopedEnv videos("XDG_VIDEOS_DIR", (dir_.path().string() + "/videos/").c_str());
    for (const char* name : {"video000.avi", "video001.avi"}) {
        if (name != std::string("video000.avi")) test::WriteFileText(dir_.file("videos/Lumora/video002.avi"), "");
        ASSERT_EQ(graph_.RestartCapture(true, ""), S_OK) << name;
        ASSERT_TRUE(WaitForFrames(graph_.GrabberFrames().buffers + 3));
        graph_.Teardown(true, true);  // another source, or exit: the file is finished too
        const AviFacts avi = test::ReadAvi(dir_.file(std::string("videos/Lumora/") + name));
        EXPECT_EQ(std::tuple(avi.frames > 0, avi.headerFrames), std::tuple(true, std::uint32_t(avi.frames))) << name;
        ASSERT_TRUE(graph_.SelectCaptureDevice(Camera()));
        ASSERT_TRUE(graph_.Run());
    }
    for (int n = 3; n < 1000; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "videos/Lumora/video%03d.avi", n);
        test::WriteFileText(dir_.file(name), "");
    }
    EXPECT_EQ(graph_.RestartCapture(true, ""), E_FAIL);
    ASSERT_EQ(messages_.Messages().size(), 1u) << ::testing::PrintToString(MessageTexts());
    const std::string& text = messages_.Messages()[0].text;
    EXPECT_EQ(
        std::tuple(text.rfind("Couldn't render GStreamer filters sequence!\n\nSystem error message (0x80004005):\n", 0),
                   messages_.Messages()[0].flags, graph_.RecordToFile()),
        std::tuple(0u, 0x30u, false));

    // A new source never starts recording by itself; the name is kept for the next recording.
    messages_.Clear();
    ASSERT_TRUE(graph_.SelectCaptureDevice(Camera()));
    ASSERT_EQ(graph_.RestartCapture(true, dir_.file("one.avi")), S_OK);
    ASSERT_TRUE(graph_.SelectCaptureDevice(Camera("ball")));
    EXPECT_EQ(std::tuple(graph_.RecordToFile(), Contains("Grabber Counter"), graph_.RecordingFileName()),
              std::tuple(false, false, dir_.file("one.avi")));
    graph_.Teardown(true, true);
    EXPECT_EQ(graph_.RestartCapture(true, dir_.file("one.avi")), E_POINTER);  // no graph to restart
    EXPECT_TRUE(messages_.Messages().empty());
}

constexpr int kCodecFrames = 15;

std::vector<std::string> ListedCodecs() {
    gst_init(nullptr, nullptr);
    CompressorList list;
    list.EnumerateCompressors();
    std::vector<std::string> codecs;
    for (int i = 0; i < list.Count(); ++i) codecs.push_back(list.ElementNameAt(i));
    return codecs;
}

class SourceGraphCodecs : public SourceGraphTest, public ::testing::WithParamInterface<std::string> {
protected:
    int Index() {
        int i = graph_.Compressors().Count() - 1;
        while (i >= 0 && graph_.Compressors().ElementNameAt(i) != GetParam()) --i;
        return i;
    }

    // Records the whole of `source` through the codec into `file`.
    void Record(const std::string& source, const std::string& file) {
        graph_.Compressors().SetSelected(Index());
        graph_.RecordNextBuild(file);
        ASSERT_TRUE(graph_.SelectVideoFile(source)) << ::testing::PrintToString(MessageTexts());
        EXPECT_TRUE(test::WaitUntil([&] { return graph_.RecordToFile(); }, std::chrono::seconds(1)));
        ASSERT_TRUE(PlayToEnd(std::chrono::seconds(30)));
        graph_.Teardown(true, true);
    }

    test::TempDir dir_;
};

TEST_P(SourceGraphCodecs, RecordsEveryFrameIntoAFileLumoraAndFfmpegPlayBack) {
    ASSERT_GE(Index(), 0);
    const int alignment = graph_.Compressors().InputOf(Index()).alignment;
    graph_.SetRealTime(false);
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{721, 481}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const std::string source = dir_.file("source" + std::to_string(width) + ".avi");
        const std::string file = dir_.file(GetParam() + std::to_string(width) + ".avi");
        ASSERT_TRUE(test::MakeClip(source, width, height, kCodecFrames,
                                   "videoconvert ! video/x-raw,format=I420 ! jpegenc ! avimux"));
        ASSERT_NO_FATAL_FAILURE(Record(source, file));
        const QSize given(width - width % alignment, height - height % alignment);

        ASSERT_TRUE(graph_.SelectVideoFile(file)) << ::testing::PrintToString(MessageTexts());
        ASSERT_TRUE(PlayToEnd(std::chrono::seconds(30)));
        EXPECT_EQ(std::tuple(graph_.GrabberFrames().buffers, preview_.LastSize()),
                  std::tuple(std::uint64_t{kCodecFrames}, given));
        EXPECT_TRUE(messages_.Messages().empty()) << ::testing::PrintToString(MessageTexts());
    }
}

INSTANTIATE_TEST_SUITE_P(Listed, SourceGraphCodecs, ::testing::ValuesIn(ListedCodecs()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SourceGraphCodecs);

}  // namespace
}  // namespace lumora
