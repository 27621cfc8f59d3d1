// Fill, DrawRect and ColorFilter: exact pixels, clipping, and nothing written outside.
#include "test_frame.h"

#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using lumora::test::Bgr;
using lumora::test::TestFrame;

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

// The outline rule: columns left and right - 1, rows bottom and top - 1.
std::function<bool(int, int)> OnOutline(int left, int top, int right, int bottom) {
    return [=](int x, int y) {
        const bool in_columns = x >= left && x < right;
        const bool in_rows = y >= bottom && y < top;
        return (in_rows && (x == left || x == right - 1)) || (in_columns && (y == bottom || y == top - 1));
    };
}

TEST(ZImageFill, PictureInPictureColourIsDarkRed) {
    TestFrame frame(7, 5);  // 21 bytes a row plus 3 of padding
    frame.FillPattern();
    const TestFrame before = frame;
    ASSERT_EQ(ZImage_Fill(frame.data(), 7, 5, 3, 2, 1, 2, 16, 0), 1);
    const auto expected = Expected(before, [](int x, int y) { return x >= 1 && x < 4 && y >= 2 && y < 4; },
                                   Paint({0, 0, 16}));
    EXPECT_EQ(frame.bytes(), expected.bytes());
}

TEST(ZImageFill, ClipsOnEverySide) {
    struct Case {
        int w, h, x, y;
    };
    for (const Case c : {Case{4, 3, 5, 4}, Case{4, 3, -2, -1}, Case{20, 20, -5, -5}, Case{2, 2, 7, 0}, Case{3, 3, 0, -3}}) {
        TestFrame frame(7, 5);
        frame.FillPattern(2);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_Fill(frame.data(), 7, 5, c.w, c.h, c.x, c.y, 0x00112233, 0), 1);
        const auto expected = Expected(
            before, [&](int x, int y) { return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h; },
            Paint({0x11, 0x22, 0x33}));
        EXPECT_EQ(frame.bytes(), expected.bytes()) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
}

TEST(ZImageDrawRect, OutlinesTheFaceLocatorRectangle) {
    TestFrame frame(320, 240);
    frame.FillPattern(3);
    const TestFrame before = frame;
    ASSERT_EQ(ZImage_DrawRect(frame.data(), 320, 240, 191, 225, 305, 139, 65280), 1);

    EXPECT_EQ(frame.at(191, 139), kGreen);
    EXPECT_EQ(frame.at(304, 224), kGreen);
    EXPECT_EQ(frame.at(191, 224), kGreen);
    EXPECT_EQ(frame.at(304, 139), kGreen);
    EXPECT_EQ(frame.at(250, 139), kGreen);
    EXPECT_EQ(frame.at(191, 180), kGreen);
    EXPECT_NE(frame.at(305, 180), kGreen);
    EXPECT_NE(frame.at(250, 225), kGreen);
    EXPECT_EQ(frame.bytes(), Expected(before, OnOutline(191, 225, 305, 139), Paint(kGreen)).bytes());
}

TEST(ZImageDrawRect, ClipsEachEdgeOnItsOwn) {
    struct Case {
        int left, top, right, bottom;
    };
    // Left edge outside; top edge outside; everything around the frame; one pixel.
    for (const Case c : {Case{-5, 4, 4, 2}, Case{2, 10, 6, 1}, Case{-1, 6, 8, -1}, Case{3, 3, 4, 2},
                         Case{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}}) {
        TestFrame frame(7, 5);
        frame.FillPattern(4);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_DrawRect(frame.data(), 7, 5, c.left, c.top, c.right, c.bottom, 65280), 1);
        // 64-bit arithmetic keeps the reference sane for the extreme case.
        const auto inside = [c](int x, int y) {
            const long long l = c.left, t = c.top, r = c.right, b = c.bottom;
            const bool in_columns = x >= l && x < r;
            const bool in_rows = y >= b && y < t;
            return (in_rows && (x == l || x == r - 1)) || (in_columns && (y == b || y == t - 1));
        };
        EXPECT_EQ(frame.bytes(), Expected(before, inside, Paint(kGreen)).bytes()) << c.left << "," << c.top;
    }
}

TEST(ZImageDrawRect, DegenerateRectangleDrawsNothing) {
    TestFrame frame(7, 5);
    frame.FillPattern(5);
    const TestFrame before = frame;
    EXPECT_EQ(ZImage_DrawRect(frame.data(), 7, 5, 3, 4, 3, 1, 65280), 0);
    EXPECT_EQ(ZImage_DrawRect(frame.data(), 7, 5, 1, 2, 5, 2, 65280), 0);
    EXPECT_EQ(ZImage_DrawRect(frame.data(), 7, 5, 5, 4, 1, 1, 65280), 0);
    EXPECT_EQ(frame.bytes(), before.bytes());
}

int Level(int value, int level) {
    return std::min(255, value * std::max(level, 0) / 128);
}

TEST(ZImageColorFilter, EveryValueAtEveryKindOfLevel) {
    // One row of 256 pixels holds every byte value in each channel, so the vector loop and
    // its tail both see every value.
    const int levels[] = {0, 1, 64, 127, 128, 129, 200, 255, 256, 257, 1000, 65535, 65536, 100000, -1, INT32_MIN};
    for (const int level : levels) {
        TestFrame frame(256, 2);
        for (int x = 0; x < 256; ++x) frame.set(x, 1, {Bgr::value_type(x), Bgr::value_type(255 - x), Bgr::value_type(x ^ 0x5A)});
        const TestFrame before = frame;
        const int other = 256 - std::clamp(level, 0, 256);
        ASSERT_EQ(ZImage_ColorFilter(frame.data(), 256, 2, 256, 2, 0, 0, level, other, 128), 1);
        for (int x = 0; x < 256; ++x) {
            const Bgr old = before.at(x, 1);
            const Bgr want{old[0], Bgr::value_type(Level(old[1], other)), Bgr::value_type(Level(old[2], level))};
            ASSERT_EQ(frame.at(x, 1), want) << "level " << level << " x " << x;
        }
    }
}

TEST(ZImageColorFilter, IdentityDoublingAndBlackout) {
    TestFrame frame(37, 5);
    frame.FillPattern(6);
    const TestFrame before = frame;
    ASSERT_EQ(ZImage_ColorFilter(frame.data(), 37, 5, 37, 5, 0, 0, 128, 128, 128), 1);
    EXPECT_EQ(frame.bytes(), before.bytes());

    ASSERT_EQ(ZImage_ColorFilter(frame.data(), 37, 5, 37, 5, 0, 0, 256, 0, 128), 1);
    const auto expected = Expected(before, [](int, int) { return true; }, [](Bgr p) {
        return Bgr{p[0], 0, Bgr::value_type(std::min(255, p[2] * 2))};
    });
    EXPECT_EQ(frame.bytes(), expected.bytes());
}

TEST(ZImageColorFilter, ClippedRegionLeavesTheRestAlone) {
    struct Case {
        int x, y, w, h;
    };
    for (const Case c : {Case{-2, 3, 5, 100}, Case{5, 1, 30, 2}, Case{20, -4, 100, 6}, Case{40, 0, 5, 5}}) {
        TestFrame frame(37, 5);
        frame.FillPattern(7);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_ColorFilter(frame.data(), 37, 5, c.w, c.h, c.x, c.y, 300, 64, 0), 1);
        const auto expected = Expected(
            before, [&](int x, int y) { return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h; },
            [](Bgr p) { return Bgr{0, Bgr::value_type(p[1] / 2), Bgr::value_type(Level(p[2], 300))}; });
        EXPECT_EQ(frame.bytes(), expected.bytes()) << c.x << "," << c.y;
    }
}

}  // namespace
