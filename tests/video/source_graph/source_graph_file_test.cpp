#include "source_graph_fixture.h"

namespace lumora {
namespace {

using test::SourceGraphTest;

constexpr int kMegamindFrames = 270;
constexpr SourceGraph::MediaTime kSecond = 10'000'000;

class SourceGraphFile : public SourceGraphTest {};

TEST_F(SourceGraphFile, MegamindPlaysToItsEndInRealTimeWithEveryFrameAndNoSoundCardStopsAndSeeks) {
    ASSERT_TRUE(graph_.SelectVideoFile(test::TestDataPath("Megamind.avi")));
    EXPECT_TRUE(Contains("Source"));
    EXPECT_TRUE(Contains("Audio Renderer"));  // the sound has somewhere to go, card or not
    ASSERT_TRUE(graph_.HasSeeking());
    const auto duration = graph_.Duration();
    ASSERT_TRUE(duration);
    EXPECT_NEAR(static_cast<double>(*duration) / kSecond, 270 / 23.976, 0.1);
    const ZImageBitmapInfoHeader format = store_.Format(store_.WaitLock());
    EXPECT_EQ(std::tuple(format.biWidth, format.biHeight, format.biSizeImage), std::tuple(720, 528, 720u * 528 * 3));

    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(graph_.Run());
    ASSERT_TRUE(WaitForFrames(10));
    ASSERT_TRUE(graph_.Stop());
    EXPECT_GT(graph_.CurrentPosition().value_or(-1), 0);
    ASSERT_TRUE(PlayToEnd(std::chrono::seconds(40)));
    EXPECT_GT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));  // in real time

    // The completion was taken already.
    EXPECT_EQ(
        std::tuple(graph_.GrabberFrames().buffers, preview_.Frames(), preview_.LastSize(), graph_.PollCompletion()),
        std::tuple(std::uint64_t{kMegamindFrames}, kMegamindFrames, QSize(720, 528), false));
    EXPECT_NEAR(preview_.Times().back(), 269 / 23.976, 0.01);
    EXPECT_TRUE(messages_.Messages().empty()) << ::testing::PrintToString(MessageTexts());

    ASSERT_TRUE(graph_.SetCurrentPosition(5 * kSecond));
    ASSERT_TRUE(test::WaitUntil([&] {
        const auto now = graph_.CurrentPosition();
        return now && *now >= 5 * kSecond - kSecond / 10;
    }));
    EXPECT_LT(*graph_.CurrentPosition(), 6 * kSecond);
    EXPECT_FALSE(graph_.SetCurrentPosition(-1));
}

TEST_F(SourceGraphFile, AMissingFileTextOrSoundFailsWithOneMessage) {
    test::TempDir dir;
    const std::string text = dir.file("notes.avi");
    test::WriteFileText(text, std::string(4096, 'x'));
    const std::string sound = dir.file("tone.wav");
    ASSERT_TRUE(test::RunPipeline("audiotestsrc num-buffers=20 ! wavenc ! filesink location=" + sound));

    for (const std::string& file : {std::string("/nonexistent/folder/clip.avi"), text, sound}) {
        SCOPED_TRACE(file);
        messages_.Clear();
        EXPECT_FALSE(graph_.SelectVideoFile(file));
        ASSERT_EQ(messages_.Messages().size(), 1u) << ::testing::PrintToString(MessageTexts());
        const MessageRequest& message = messages_.Messages()[0];
        const bool build = message.text.rfind("Couldn't build GStreamer filters sequence!", 0) == 0;
        EXPECT_TRUE(build || message.text.rfind("Couldn't render GStreamer filters sequence!", 0) == 0) << message.text;
        EXPECT_EQ(std::pair(message.flags, graph_.Pipeline()), std::pair(0x30u, static_cast<GstElement*>(nullptr)));
    }
    EXPECT_NE(messages_.Messages()[0].text.find("no video stream"), std::string::npos)
        << "a file with only sound says so";
}

}  // namespace
}  // namespace lumora
