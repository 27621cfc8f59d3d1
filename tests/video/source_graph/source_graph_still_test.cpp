#include "../test_environment.h"
#include "frames/frame_copy.h"
#include "source_graph_fixture.h"

namespace lumora {
namespace {

using test::SourceGraphTest;

class SourceGraphStill : public SourceGraphTest {};

std::vector<unsigned char> CurrentFrame(FrameStore& store) {
    FrameCopy copy;
    store.CopyCurrent(&copy);
    return std::vector<unsigned char>(copy.pixels.get(), copy.pixels.get() + copy.size);
}

// A picture that does not load shows only its own message; one that does gives the same
// frame again and again, a frame time apart.
TEST_F(SourceGraphStill, APictureAt320x240And30FpsDeliversIdenticalFramesAFrameTimeApart) {
    test::TempDir dir;
    test::WriteFileText(dir.file("broken.jpg"), "not a picture");
    EXPECT_FALSE(graph_.SelectImageFile(dir.file("broken.jpg"), 320, 240, 30));
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(std::tuple(messages_.Messages()[0].text, messages_.Messages()[0].flags, graph_.Pipeline()),
              std::tuple("Couldn't load specified image file!", 0x30u, nullptr));
    messages_.Clear();

    ASSERT_TRUE(graph_.SelectImageFile(test::TestDataPath("messi5.jpg"), 320, 240, 30));
    EXPECT_EQ(std::tuple(Contains("Source"), store_.Format(store_.WaitLock()).biWidth), std::tuple(true, 320));
    ASSERT_TRUE(graph_.Run());
    ASSERT_TRUE(WaitForFrames(2));
    const std::vector<unsigned char> first = CurrentFrame(store_);
    ASSERT_TRUE(test::WaitUntil([&] { return preview_.Frames() >= 6; }));
    EXPECT_EQ(CurrentFrame(store_), first);
    // Stored bottom row first, as the picture loader gives it.
    const auto picture = ZImage_LoadImageToBitmapSize(test::TestDataPath("messi5.jpg").c_str(), 320, 240);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(first == std::vector<unsigned char>(picture->data(), picture->data() + picture->size_bytes()));

    const std::vector<double> times = preview_.Times();
    ASSERT_GE(times.size(), 4u);
    for (std::size_t i = 1; i < times.size(); ++i) EXPECT_NEAR(times[i] - times[i - 1], 0.0333333, 1e-6);
    EXPECT_EQ(std::tuple(preview_.LastSize(), messages_.Messages().size()), std::tuple(QSize(320, 240), 0u));
}

// The white root window of a screen of its own, every pixel of it, scaled to the output size.
TEST_F(SourceGraphStill, TheDesktopUnderXvfbIsTheWholeRectangleScaled) {
    if (!test::XvfbServer::Installed()) GTEST_SKIP() << "no Xvfb";
    test::XvfbServer server("1280x1024x24");
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    test::ScopedEnv display("DISPLAY", server.display().c_str());
    ASSERT_TRUE(graph_.SelectDesktop(ZImageRect{0, 0, 1280, 1024}, 320, 240, 30));
    ASSERT_TRUE(graph_.Run());
    ASSERT_TRUE(test::WaitUntil([&] { return preview_.Frames() >= 2; }));
    EXPECT_EQ(preview_.LastSize(), QSize(320, 240));
    EXPECT_TRUE(preview_.Last().pixels == std::vector<unsigned char>(320u * 240 * 3, 0xFF));
    graph_.Teardown(true, true);  // before the server goes
}

}  // namespace
}  // namespace lumora
