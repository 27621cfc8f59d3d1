// Every operation answers 0 for arguments it cannot honour, and leaves memory alone. The
// buffers are exact-size heap blocks, so AddressSanitizer catches any stray access.
#include "test_frame.h"

#include <lumora/zimage.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace {

using lumora::test::TestFrame;

struct Size {
    int w, h;
};
// Null-sized, negative, and sizes whose byte count does not fit 32 bits.
constexpr Size kBadSizes[] = {{0, 4}, {4, 0}, {-4, 4}, {4, -4}, {70000, 70000}, {INT32_MAX, 2}, {INT32_MIN, INT32_MIN}};

class ZImageBadArguments : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(frame_.bytes(), pristine_.bytes()) << "memory was written"; }

    TestFrame frame_ = TestFrame::Patterned(8, 6, 31);
    const TestFrame pristine_ = TestFrame::Patterned(8, 6, 31);
    TestFrame other_ = TestFrame::Patterned(8, 6, 32);
};

TEST_F(ZImageBadArguments, ResizeCompositionFillAndDrawRect) {
    EXPECT_EQ(ZImage_Resize(nullptr, 8, 6, other_.data(), 8, 6), 0);
    EXPECT_EQ(ZImage_Resize(frame_.data(), 8, 6, nullptr, 8, 6), 0);
    EXPECT_EQ(ZImage_Composition(nullptr, 8, 6, other_.data(), 8, 6, 0, 0), 0);
    EXPECT_EQ(ZImage_Composition(frame_.data(), 8, 6, nullptr, 8, 6, 0, 0), 0);
    for (const Size s : kBadSizes) {
        EXPECT_EQ(ZImage_Resize(frame_.data(), s.w, s.h, other_.data(), 8, 6), 0);
        EXPECT_EQ(ZImage_Resize(frame_.data(), 8, 6, other_.data(), s.w, s.h), 0);
        EXPECT_EQ(ZImage_Composition(frame_.data(), s.w, s.h, other_.data(), 8, 6, 0, 0), 0);
        EXPECT_EQ(ZImage_Composition(frame_.data(), 8, 6, other_.data(), s.w, s.h, 0, 0), 0);
    }

    EXPECT_EQ(ZImage_Fill(nullptr, 8, 6, 2, 2, 0, 0, 16, 0), 0);
    EXPECT_EQ(ZImage_DrawRect(nullptr, 8, 6, 0, 4, 4, 0, 65280), 0);
    for (const Size s : kBadSizes) {
        EXPECT_EQ(ZImage_Fill(frame_.data(), s.w, s.h, 2, 2, 0, 0, 16, 0), 0);
        EXPECT_EQ(ZImage_Fill(frame_.data(), 8, 6, s.w, s.h, 0, 0, 16, 0), s.w > 0 && s.h > 0 ? 1 : 0)
            << "only a valid fill size may paint";
        EXPECT_EQ(ZImage_DrawRect(frame_.data(), s.w, s.h, 0, 4, 4, 0, 65280), 0);
        frame_ = pristine_;
    }
    // Far outside and at the edges of the integer range: clipped away, nothing overflows.
    EXPECT_EQ(ZImage_Fill(frame_.data(), 8, 6, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 16, 0), 1);
    EXPECT_EQ(ZImage_Fill(frame_.data(), 8, 6, 5, 5, INT32_MIN, 0, 16, 0), 1);
    EXPECT_EQ(ZImage_DrawRect(frame_.data(), 8, 6, 100, 200, 300, 150, 65280), 1);
}

TEST_F(ZImageBadArguments, ColorFilterSaveJpegAndLoaders) {
    EXPECT_EQ(ZImage_ColorFilter(nullptr, 8, 6, 8, 6, 0, 0, 256, 256, 256), 0);
    EXPECT_EQ(ZImage_ColorFilter(frame_.data(), 8, 6, 0, 6, 0, 0, 256, 256, 256), 0);
    EXPECT_EQ(ZImage_ColorFilter(frame_.data(), 8, 6, 8, -6, 0, 0, 256, 256, 256), 0);
    for (const Size s : kBadSizes) EXPECT_EQ(ZImage_ColorFilter(frame_.data(), s.w, s.h, 8, 6, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(ZImage_ColorFilter(frame_.data(), 8, 6, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0, 0, 0), 1);

    lumora::test::TempDir dir;
    const std::string path = dir.file("never.jpg");
    EXPECT_EQ(ZImage_SaveJpeg2(nullptr, frame_.data(), 8, 6), 0);
    EXPECT_EQ(ZImage_SaveJpeg2(path.c_str(), nullptr, 8, 6), 0);
    for (const Size s : kBadSizes) EXPECT_EQ(ZImage_SaveJpeg2(path.c_str(), frame_.data(), s.w, s.h), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_EQ(ZImage_LoadImageToBitmap(nullptr, nullptr), nullptr);
    EXPECT_EQ(ZImage_LoadImageToBitmap("", nullptr), nullptr);
    EXPECT_EQ(ZImage_LoadImageToBitmapSize(nullptr, 8, 6), nullptr);
}

}  // namespace
