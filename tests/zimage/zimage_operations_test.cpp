// Resize and Composition: sampling, corners, clipping, windows of larger sources, overlap.
// Fill, DrawRect and ColorFilter: exact pixels, clipping, and nothing written outside.
// Every operation answers 0 for arguments it cannot honour, and leaves memory alone. The
// buffers are exact-size heap blocks, so AddressSanitizer catches any stray access.
#include "test_frame.h"
#include "test_support.h"

#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <filesystem>
#include <functional>

namespace {

using lumora::test::Bgr;
using lumora::test::TestFrame;

// Bilinear sample with pixel centres aligned, computed in double: the reference the
// library's fixed-point kernel must stay within one step of.
Bgr ReferenceSample(const TestFrame& src, int dst_width, int dst_height, int dx, int dy) {
    const auto at = [](int d, int src_size, int dst_size) {
        return std::clamp((d + 0.5) * src_size / dst_size - 0.5, 0.0, double(src_size - 1));
    };
    const double sx = at(dx, src.width(), dst_width), sy = at(dy, src.height(), dst_height);
    const int x0 = static_cast<int>(sx), x1 = std::min(x0 + 1, src.width() - 1);
    const int y0 = static_cast<int>(sy), y1 = std::min(y0 + 1, src.height() - 1);
    const double fx = sx - x0, fy = sy - y0;
    Bgr out{};
    for (int c = 0; c < 3; ++c) {
        const double bottom = src.at(x0, y0)[c] * (1 - fx) + src.at(x1, y0)[c] * fx;
        const double top = src.at(x0, y1)[c] * (1 - fx) + src.at(x1, y1)[c] * fx;
        out[c] = static_cast<std::uint8_t>(std::lround(bottom * (1 - fy) + top * fy));
    }
    return out;
}

// The largest difference of any channel of `dst` from the reference sample of `src`.
int WorstError(const TestFrame& src, const TestFrame& dst) {
    int worst = 0;
    for (int y = 0; y < dst.height(); ++y) {
        for (int x = 0; x < dst.width(); ++x) {
            const Bgr want = ReferenceSample(src, dst.width(), dst.height(), x, y);
            for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(dst.at(x, y)[c] - want[c]));
        }
    }
    return worst;
}

// Exact doubling has a kernel of its own working in blocks of 16 pixels: ragged widths reach its edges.
TEST(ZImageResize, MatchesBilinearReferenceKeepsCornersAndPaddingAndRefusesOverlap) {
    // Width, height, and the size to resize to.
    std::vector<std::array<int, 4>> cases = {{37, 23, 74, 46}, {37, 23, 80, 51}, {37, 23, 20, 11},
                                             {37, 23, 37, 60}, {37, 23, 3, 2},   {1, 1, 9, 4}};
    for (const int width : {1, 2, 3, 15, 16, 17, 33}) {
        for (const int height : {1, 2, 5}) cases.push_back({width, height, 2 * width, 2 * height});
    }
    for (const auto& [width, height, dstWidth, dstHeight] : cases) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " to " + std::to_string(dstWidth) + "x" +
                     std::to_string(dstHeight));
        TestFrame src = TestFrame::Patterned(width, height, width * 10 + height);
        TestFrame dst(dstWidth, dstHeight);
        ASSERT_EQ(ZImage_Resize(dst.data(), dstWidth, dstHeight, src.data(), width, height), 1);
        EXPECT_LE(WorstError(src, dst), 1);
        if (dstWidth >= width && dstHeight >= height) {
            const int right = dstWidth - 1, top = dstHeight - 1;
            EXPECT_EQ(
                std::tuple(dst.at(0, 0), dst.at(right, 0), dst.at(0, top), dst.at(right, top)),
                std::tuple(src.at(0, 0), src.at(width - 1, 0), src.at(0, height - 1), src.at(width - 1, height - 1)));
        }
    }

    // Rows of 9 pixels are 27 bytes with one byte of padding, which belongs to the caller.
    const TestFrame src = TestFrame::Patterned(9, 4, 12);
    TestFrame dst(9, 4);
    ASSERT_EQ(ZImage_Resize(dst.data(), 9, 4, src.data(), 9, 4), 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 9; ++x) ASSERT_EQ(dst.at(x, y), src.at(x, y));
        EXPECT_EQ(dst.bytes()[y * dst.stride() + 27], 0) << "padding of row " << y;
    }

    TestFrame frame = TestFrame::Patterned(16, 16, 13);
    const TestFrame before = frame;
    EXPECT_EQ(ZImage_Resize(frame.data(), 16, 16, frame.data(), 16, 16), 1);
    EXPECT_EQ(ZImage_Resize(frame.data(), 8, 8, frame.data(), 16, 16), 0);
    EXPECT_EQ(ZImage_Resize(frame.data() + 24, 4, 4, frame.data(), 4, 4), 0);
    EXPECT_EQ(frame.bytes(), before.bytes());
}

// Checks that dst(x, y) = src(x - ox, y - oy) wherever that source pixel exists, and that
// every other byte, row padding included, kept its old value.
void ExpectComposed(const TestFrame& before, const TestFrame& src, const TestFrame& after, int ox, int oy) {
    TestFrame expected = before;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const int sx = x - ox, sy = y - oy;
            if (sx >= 0 && sx < src.width() && sy >= 0 && sy < src.height()) expected.set(x, y, src.at(sx, sy));
        }
    }
    EXPECT_EQ(after.bytes(), expected.bytes()) << "offset " << ox << "," << oy;
}

TEST(ZImageComposition, ClipsOnEverySideCutsWindowsOutOfLargerSourcesAndMovesWithinOneFrame) {
    TestFrame src = TestFrame::Patterned(4, 3, 21);
    for (const auto& [x, y] :
         {std::pair{3, 2}, {-2, -1}, {8, 6}, {-1, 6}, {7, -2}, {-4, 0}, {10, 0}, {INT32_MIN, INT32_MAX}}) {
        TestFrame dst = TestFrame::Patterned(10, 8, 22);
        const TestFrame before = dst;
        ASSERT_EQ(ZImage_Composition(dst.data(), 10, 8, src.data(), 4, 3, x, y), 1);
        if (x == INT32_MIN) {
            EXPECT_EQ(dst.bytes(), before.bytes());
            continue;
        }
        ExpectComposed(before, src, dst, x, y);  // row padding: 10 * 3 = 30 bytes of 32
    }
    // The zoom's use: a frame-sized window out of a twice enlarged picture.
    TestFrame big = TestFrame::Patterned(20, 16, 23);
    TestFrame frame(8, 6);
    const TestFrame before = frame;
    ASSERT_EQ(ZImage_Composition(frame.data(), 8, 6, big.data(), 20, 16, -5, -7), 1);
    ExpectComposed(before, big, frame, -5, -7);

    // Within one frame it moves like a copy.
    for (const auto& [x, y] : {std::pair{2, 1}, {-2, -1}, {3, -2}, {-1, 3}}) {
        TestFrame frame = TestFrame::Patterned(9, 7, 24);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_Composition(frame.data(), 9, 7, frame.data(), 9, 7, x, y), 1);
        ExpectComposed(before, before, frame, x, y);
    }
    // Overlapping frames of different row lengths have no safe order.
    EXPECT_EQ(ZImage_Composition(big.data(), 9, 7, big.data() + 3, 4, 4, 0, 0), 0);
}

constexpr Bgr kGreen{0, 255, 0};

// The frame after `change` is applied to every pixel for which `inside` holds.
TestFrame Expected(const TestFrame& before, const std::function<bool(int, int)>& inside,
                   const std::function<Bgr(Bgr)>& change) {
    TestFrame expected = before;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (inside(x, y)) expected.set(x, y, change(before.at(x, y)));
        }
    }
    return expected;
}

std::function<Bgr(Bgr)> Paint(Bgr colour) {
    return [colour](Bgr) { return colour; };
}

std::function<bool(int, int)> InRect(int left, int bottom, int width, int height) {
    return [=](int x, int y) { return x >= left && x < left + width && y >= bottom && y < bottom + height; };
}

// The outline rule: columns left and right - 1, rows bottom and top - 1 (in 64 bits, sane at the extremes).
std::function<bool(int, int)> OnOutline(long long left, long long top, long long right, long long bottom) {
    return [=](int x, int y) {
        const bool in_columns = x >= left && x < right;
        const bool in_rows = y >= bottom && y < top;
        return (in_rows && (x == left || x == right - 1)) || (in_columns && (y == bottom || y == top - 1));
    };
}

TEST(ZImageFillAndDrawRect, PaintClippedOnEverySideAndDrawNothingDegenerate) {
    struct Case {
        int w, h, x, y;
        std::uint32_t colour;
        Bgr painted;
    };
    // First the picture-in-picture frame colour, 16: dark red. 7 pixels: 21 bytes a row plus 3 of padding.
    constexpr std::uint32_t kColour = 0x00112233;
    constexpr Bgr kPainted{0x11, 0x22, 0x33};
    for (const Case c : {Case{3, 2, 1, 2, 16, {0, 0, 16}}, Case{4, 3, 5, 4, kColour, kPainted},
                         Case{4, 3, -2, -1, kColour, kPainted}, Case{20, 20, -5, -5, kColour, kPainted},
                         Case{2, 2, 7, 0, kColour, kPainted}, Case{3, 3, 0, -3, kColour, kPainted}}) {
        TestFrame frame = TestFrame::Patterned(7, 5, 2);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_Fill(frame.data(), 7, 5, c.w, c.h, c.x, c.y, c.colour, 0), 1);
        EXPECT_EQ(frame.bytes(), Expected(before, InRect(c.x, c.y, c.w, c.h), Paint(c.painted)).bytes())
            << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }

    // DrawRect clips each edge on its own.
    // Left, top, right, bottom and the answer. Inside; left edge outside; top edge outside; everything
    // around the frame; one pixel; extremes; then no width, no height, and left/right and top/bottom swapped.
    for (const auto& [left, top, right, bottom, result] : {std::array{1, 4, 6, 1, 1},
                                                           {-5, 4, 4, 2, 1},
                                                           {2, 10, 6, 1, 1},
                                                           {-1, 6, 8, -1, 1},
                                                           {3, 3, 4, 2, 1},
                                                           {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, 1},
                                                           {3, 4, 3, 1, 0},
                                                           {1, 2, 5, 2, 0},
                                                           {5, 4, 1, 1, 0}}) {
        TestFrame frame = TestFrame::Patterned(7, 5, 4);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_DrawRect(frame.data(), 7, 5, left, top, right, bottom, 65280), result);
        const TestFrame expected =
            result ? Expected(before, OnOutline(left, top, right, bottom), Paint(kGreen)) : before;
        EXPECT_EQ(frame.bytes(), expected.bytes()) << left << "," << top;
    }
}

int Level(int value, int level) { return std::min(255, value * std::max(level, 0) / 128); }

TEST(ZImageColorFilter, EveryValueAtEveryKindOfLevelAndAClippedRegionLeavesTheRestAlone) {
    // A row of 256 pixels holds every byte value in each channel: the vector loop and its tail see them all.
    const int levels[] = {0, 1, 64, 127, 128, 129, 200, 255, 256, 257, 1000, 65535, 65536, 100000, -1, INT32_MIN};
    for (const int level : levels) {
        TestFrame frame(256, 2);
        for (int x = 0; x < 256; ++x)
            frame.set(x, 1, {Bgr::value_type(x), Bgr::value_type(255 - x), Bgr::value_type(x ^ 0x5A)});
        const TestFrame before = frame;
        const int other = 256 - std::clamp(level, 0, 256);
        ASSERT_EQ(ZImage_ColorFilter(frame.data(), 256, 2, 256, 2, 0, 0, level, other, 128), 1);
        for (int x = 0; x < 256; ++x) {
            const Bgr old = before.at(x, 1);
            const Bgr want{old[0], Bgr::value_type(Level(old[1], other)), Bgr::value_type(Level(old[2], level))};
            ASSERT_EQ(frame.at(x, 1), want) << "level " << level << " x " << x;
        }
    }

    // Clipped to the frame, the rest is left alone.
    for (const auto& [x, y, w, h] : {std::array{-2, 3, 5, 100}, {5, 1, 30, 2}, {20, -4, 100, 6}, {40, 0, 5, 5}}) {
        TestFrame frame = TestFrame::Patterned(37, 5, 7);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_ColorFilter(frame.data(), 37, 5, w, h, x, y, 300, 64, 0), 1);
        const auto filtered = [](Bgr p) {
            return Bgr{0, Bgr::value_type(p[1] / 2), Bgr::value_type(Level(p[2], 300))};
        };
        EXPECT_EQ(frame.bytes(), Expected(before, InRect(x, y, w, h), filtered).bytes()) << x << "," << y;
    }
}

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

TEST_F(ZImageBadArguments, ResizeCompositionFillDrawRectColorFilterSaveJpegAndLoaders) {
    EXPECT_EQ(ZImage_Resize(nullptr, 8, 6, other_.data(), 8, 6), 0);
    EXPECT_EQ(ZImage_Resize(frame_.data(), 8, 6, nullptr, 8, 6), 0);
    EXPECT_EQ(ZImage_Composition(nullptr, 8, 6, other_.data(), 8, 6, 0, 0), 0);
    EXPECT_EQ(ZImage_Composition(frame_.data(), 8, 6, nullptr, 8, 6, 0, 0), 0);
    for (const Size s : kBadSizes) {
        EXPECT_EQ(ZImage_Resize(frame_.data(), s.w, s.h, other_.data(), 8, 6), 0) << s.w << " x " << s.h;
        EXPECT_EQ(ZImage_Resize(frame_.data(), 8, 6, other_.data(), s.w, s.h), 0) << s.w << " x " << s.h;
        EXPECT_EQ(ZImage_Composition(frame_.data(), s.w, s.h, other_.data(), 8, 6, 0, 0), 0) << s.w << " x " << s.h;
        EXPECT_EQ(ZImage_Composition(frame_.data(), 8, 6, other_.data(), s.w, s.h, 0, 0), 0) << s.w << " x " << s.h;
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
