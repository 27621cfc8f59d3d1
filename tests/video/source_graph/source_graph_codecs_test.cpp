// Every compressor the list offers (what `lumora-cli codecs` prints), recording a clip of
// 15 frames at an even and at an odd size: played back, the file gives all 15 frames, at
// the size the encoder was given.
#include "source_graph_fixture.h"

namespace lumora {
namespace {

using test::SourceGraphTest;

constexpr int kFrames = 15;

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
        ASSERT_TRUE(test::MakeClip(source, width, height, kFrames,
                                   "videoconvert ! video/x-raw,format=I420 ! jpegenc ! avimux"));
        ASSERT_NO_FATAL_FAILURE(Record(source, file));
        const QSize given(width - width % alignment, height - height % alignment);

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
