// Every compressor the list offers (what `lumora-cli codecs` prints), recording a clip of
// 30 frames at an even and at an odd size: ffprobe and Lumora both read the file back with
// all 30 frames, at the size the encoder was given.
#include "source_graph_fixture.h"

namespace lumora {
namespace {

using test::SourceGraphTest;

constexpr int kFrames = 30;

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
    int Index() const {
        CompressorList& list = const_cast<SourceGraph&>(graph_).Compressors();
        for (int i = 0; i < list.Count(); ++i) {
            if (list.ElementNameAt(i) == GetParam()) return i;
        }
        return -1;
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
        ASSERT_TRUE(test::MakeClip(source, width, height, kFrames,
                                   "videoconvert ! video/x-raw,format=I420 ! jpegenc ! avimux"));
        ASSERT_NO_FATAL_FAILURE(Record(source, file));
        const QSize given(width - width % alignment, height - height % alignment);

        if (const auto probe = test::Ffprobe(file)) {
            EXPECT_EQ(probe->frames, kFrames);
            EXPECT_EQ(QSize(probe->width, probe->height), given);
        }
        ASSERT_TRUE(graph_.SelectVideoFile(file)) << ::testing::PrintToString(MessageTexts());
        ASSERT_TRUE(PlayToEnd(std::chrono::seconds(30)));
        EXPECT_EQ(graph_.GrabberFrames().buffers, static_cast<std::uint64_t>(kFrames));
        EXPECT_EQ(preview_.LastSize(), given);
        EXPECT_TRUE(messages_.Messages().empty()) << ::testing::PrintToString(MessageTexts());
    }
}

INSTANTIATE_TEST_SUITE_P(Listed, SourceGraphCodecs, ::testing::ValuesIn(ListedCodecs()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SourceGraphCodecs);

}  // namespace
}  // namespace lumora
