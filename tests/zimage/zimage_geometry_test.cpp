// Resize and Composition: sampling, corners, clipping, windows of larger sources, overlap.
#include "test_frame.h"

#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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
    struct Case {
        int width, height, dstWidth, dstHeight;
    };
    std::vector<Case> cases = {{37, 23, 74, 46}, {37, 23, 80, 51}, {37, 23, 20, 11},
                               {37, 23, 37, 60}, {37, 23, 3, 2},   {1, 1, 9, 4}};
    for (const int width : {1, 2, 3, 15, 16, 17, 33}) {
        for (const int height : {1, 2, 5}) cases.push_back({width, height, 2 * width, 2 * height});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " to " + std::to_string(c.dstWidth) +
                     "x" + std::to_string(c.dstHeight));
        TestFrame src = TestFrame::Patterned(c.width, c.height, c.width * 10 + c.height);
        TestFrame dst(c.dstWidth, c.dstHeight);
        ASSERT_EQ(ZImage_Resize(dst.data(), c.dstWidth, c.dstHeight, src.data(), c.width, c.height), 1);
        EXPECT_LE(WorstError(src, dst), 1);
        if (c.dstWidth >= c.width && c.dstHeight >= c.height) {
            const int right = c.dstWidth - 1, top = c.dstHeight - 1;
            EXPECT_EQ(std::tuple(dst.at(0, 0), dst.at(right, 0), dst.at(0, top), dst.at(right, top)),
                      std::tuple(src.at(0, 0), src.at(c.width - 1, 0), src.at(0, c.height - 1),
                                 src.at(c.width - 1, c.height - 1)));
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

struct Offset {
    int x, y;
};

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
    for (const Offset o : {Offset{3, 2}, Offset{-2, -1}, Offset{8, 6}, Offset{-1, 6}, Offset{7, -2}, Offset{-4, 0},
                           Offset{10, 0}, Offset{INT32_MIN, INT32_MAX}}) {
        TestFrame dst = TestFrame::Patterned(10, 8, 22);
        const TestFrame before = dst;
        ASSERT_EQ(ZImage_Composition(dst.data(), 10, 8, src.data(), 4, 3, o.x, o.y), 1);
        if (o.x == INT32_MIN) {
            EXPECT_EQ(dst.bytes(), before.bytes());
            continue;
        }
        ExpectComposed(before, src, dst, o.x, o.y);  // row padding: 10 * 3 = 30 bytes of 32
    }
    // The zoom's use: a frame-sized window out of a twice enlarged picture.
    TestFrame big = TestFrame::Patterned(20, 16, 23);
    TestFrame frame(8, 6);
    const TestFrame before = frame;
    ASSERT_EQ(ZImage_Composition(frame.data(), 8, 6, big.data(), 20, 16, -5, -7), 1);
    ExpectComposed(before, big, frame, -5, -7);

    // Within one frame it moves like a copy.
    for (const Offset o : {Offset{2, 1}, Offset{-2, -1}, Offset{3, -2}, Offset{-1, 3}}) {
        TestFrame frame = TestFrame::Patterned(9, 7, 24);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_Composition(frame.data(), 9, 7, frame.data(), 9, 7, o.x, o.y), 1);
        ExpectComposed(before, before, frame, o.x, o.y);
    }
    // Overlapping frames of different row lengths have no safe order.
    EXPECT_EQ(ZImage_Composition(big.data(), 9, 7, big.data() + 3, 4, 4, 0, 0), 0);
}

}  // namespace
