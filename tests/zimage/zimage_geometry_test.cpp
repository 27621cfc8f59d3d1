// Resize and Composition: sampling, corners, clipping, windows of larger sources, overlap.
#include "test_frame.h"

#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using lumora::test::Bgr;
using lumora::test::TestFrame;

// Bilinear sample with pixel centres aligned, computed in double: the reference the
// library's fixed-point kernel must stay within one step of.
Bgr ReferenceSample(const TestFrame& src, int dst_width, int dst_height, int dx, int dy) {
    const auto coordinate = [](int d, int src_size, int dst_size, int& i0, int& i1, double& f) {
        double s = (d + 0.5) * src_size / dst_size - 0.5;
        s = std::clamp(s, 0.0, double(src_size - 1));
        i0 = static_cast<int>(std::floor(s));
        i1 = std::min(i0 + 1, src_size - 1);
        f = s - i0;
    };
    int x0, x1, y0, y1;
    double fx, fy;
    coordinate(dx, src.width(), dst_width, x0, x1, fx);
    coordinate(dy, src.height(), dst_height, y0, y1, fy);
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

TEST(ZImageResize, MatchesBilinearReferenceAndKeepsCorners) {
    TestFrame src(37, 23);
    src.FillPattern(11);
    struct Size {
        int w, h;
    };
    for (const Size size : {Size{74, 46}, Size{80, 51}, Size{20, 11}, Size{37, 60}, Size{3, 2}}) {
        TestFrame dst(size.w, size.h);
        ASSERT_EQ(ZImage_Resize(dst.data(), size.w, size.h, src.data(), 37, 23), 1);
        if (size.w >= 37 && size.h >= 23) {  // enlarging: the corner pixels stay in place
            EXPECT_EQ(dst.at(0, 0), src.at(0, 0));
            EXPECT_EQ(dst.at(size.w - 1, 0), src.at(36, 0));
            EXPECT_EQ(dst.at(0, size.h - 1), src.at(0, 22));
            EXPECT_EQ(dst.at(size.w - 1, size.h - 1), src.at(36, 22));
        }
        EXPECT_LE(WorstError(src, dst), 1) << size.w << "x" << size.h;
    }
}

TEST(ZImageResize, DoublingMatchesBilinearReferenceAtAnyWidth) {
    // Exact doubling has a kernel of its own working in blocks of 16 pixels: ragged widths reach its edges.
    for (const int width : {1, 2, 3, 15, 16, 17, 33}) {
        for (const int height : {1, 2, 5}) {
            TestFrame src(width, height);
            src.FillPattern(width * 10 + height);
            TestFrame dst(2 * width, 2 * height);
            ASSERT_EQ(ZImage_Resize(dst.data(), 2 * width, 2 * height, src.data(), width, height), 1);
            EXPECT_LE(WorstError(src, dst), 1) << width << "x" << height;
            EXPECT_EQ(dst.at(2 * width - 1, 2 * height - 1), src.at(width - 1, height - 1));
        }
    }
}

// Rows of 9 pixels are 27 bytes with one byte of padding, which belongs to the caller.
TEST(ZImageResize, OnePixelFillsAndEqualSizeCopiesThePixelsNotThePadding) {
    TestFrame dot(1, 1);
    dot.set(0, 0, {1, 2, 3});
    TestFrame dst(9, 4);
    ASSERT_EQ(ZImage_Resize(dst.data(), 9, 4, dot.data(), 1, 1), 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 9; ++x) ASSERT_EQ(dst.at(x, y), (Bgr{1, 2, 3}));
    }

    TestFrame src(9, 4);
    src.FillPattern(12);
    ASSERT_EQ(ZImage_Resize(dst.data(), 9, 4, src.data(), 9, 4), 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 9; ++x) ASSERT_EQ(dst.at(x, y), src.at(x, y));
        EXPECT_EQ(dst.bytes()[y * dst.stride() + 27], 0) << "padding of row " << y;
    }
}

TEST(ZImageResize, OverlappingBuffersAreRefused) {
    TestFrame frame(16, 16);
    frame.FillPattern(13);
    const TestFrame before = frame;
    EXPECT_EQ(ZImage_Resize(frame.data(), 16, 16, frame.data(), 16, 16), 1);
    EXPECT_EQ(ZImage_Resize(frame.data(), 8, 8, frame.data(), 16, 16), 0);
    EXPECT_EQ(ZImage_Resize(frame.data() + 24, 4, 4, frame.data(), 4, 4), 0);
    EXPECT_EQ(frame.bytes(), before.bytes());
}

// Checks that dst(x, y) = src(x - ox, y - oy) wherever that source pixel exists, and that
// everything else kept its old value.
void ExpectComposed(const TestFrame& before, const TestFrame& src, const TestFrame& after, int ox, int oy) {
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const int sx = x - ox;
            const int sy = y - oy;
            const bool covered = sx >= 0 && sx < src.width() && sy >= 0 && sy < src.height();
            ASSERT_EQ(after.at(x, y), covered ? src.at(sx, sy) : before.at(x, y))
                << "offset " << ox << "," << oy << " pixel " << x << "," << y;
        }
    }
}

TEST(ZImageComposition, ClipsOnEverySide) {
    TestFrame src(4, 3);
    src.FillPattern(21);
    struct Offset {
        int x, y;
    };
    for (const Offset o : {Offset{3, 2}, Offset{-2, -1}, Offset{8, 6}, Offset{-1, 6}, Offset{7, -2}, Offset{-4, 0},
                           Offset{10, 0}, Offset{INT32_MIN, INT32_MAX}}) {
        TestFrame dst(10, 8);
        dst.FillPattern(22);
        const TestFrame before = dst;
        ASSERT_EQ(ZImage_Composition(dst.data(), 10, 8, src.data(), 4, 3, o.x, o.y), 1);
        if (o.x == INT32_MIN) {
            EXPECT_EQ(dst.bytes(), before.bytes());
            continue;
        }
        ExpectComposed(before, src, dst, o.x, o.y);
        // Row padding (10 * 3 = 30 bytes of 32) is never written.
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(dst.bytes()[y * 32 + 30], before.bytes()[y * 32 + 30]);
            EXPECT_EQ(dst.bytes()[y * 32 + 31], before.bytes()[y * 32 + 31]);
        }
    }
}

TEST(ZImageComposition, NegativeOffsetCutsAWindowOutOfALargerSource) {
    // The zoom's use: a frame-sized window out of a twice enlarged picture.
    TestFrame big(20, 16);
    big.FillPattern(23);
    TestFrame frame(8, 6);
    ASSERT_EQ(ZImage_Composition(frame.data(), 8, 6, big.data(), 20, 16, -5, -7), 1);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) ASSERT_EQ(frame.at(x, y), big.at(x + 5, y + 7));
    }
}

TEST(ZImageComposition, WithinOneFrameMovesLikeACopy) {
    struct Offset {
        int x, y;
    };
    for (const Offset o : {Offset{2, 1}, Offset{-2, -1}, Offset{3, -2}, Offset{-1, 3}}) {
        TestFrame frame(9, 7);
        frame.FillPattern(24);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_Composition(frame.data(), 9, 7, frame.data(), 9, 7, o.x, o.y), 1);
        ExpectComposed(before, before, frame, o.x, o.y);
    }
    // Overlapping frames of different row lengths have no safe order.
    TestFrame frame(9, 7);
    EXPECT_EQ(ZImage_Composition(frame.data(), 9, 7, frame.data() + 3, 4, 4, 0, 0), 0);
}

}  // namespace
