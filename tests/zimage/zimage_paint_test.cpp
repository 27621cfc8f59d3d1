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
    for (const Case c : {Case{3, 2, 1, 2, 16, {0, 0, 16}}, Case{4, 3, 5, 4, kColour, kPainted}, Case{4, 3, -2, -1, kColour, kPainted},
                         Case{20, 20, -5, -5, kColour, kPainted}, Case{2, 2, 7, 0, kColour, kPainted},
                         Case{3, 3, 0, -3, kColour, kPainted}}) {
        TestFrame frame = TestFrame::Patterned(7, 5, 2);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_Fill(frame.data(), 7, 5, c.w, c.h, c.x, c.y, c.colour, 0), 1);
        EXPECT_EQ(frame.bytes(), Expected(before, InRect(c.x, c.y, c.w, c.h), Paint(c.painted)).bytes())
            << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }

    // DrawRect clips each edge on its own.
    struct Outline {
        int left, top, right, bottom, result;
    };
    // Inside; left edge outside; top edge outside; everything around the frame; one pixel; extremes;
    // then no width, no height, and left/right and top/bottom swapped.
    for (const Outline c :
         {Outline{1, 4, 6, 1, 1}, Outline{-5, 4, 4, 2, 1}, Outline{2, 10, 6, 1, 1}, Outline{-1, 6, 8, -1, 1},
          Outline{3, 3, 4, 2, 1}, Outline{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, 1}, Outline{3, 4, 3, 1, 0},
          Outline{1, 2, 5, 2, 0}, Outline{5, 4, 1, 1, 0}}) {
        TestFrame frame = TestFrame::Patterned(7, 5, 4);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_DrawRect(frame.data(), 7, 5, c.left, c.top, c.right, c.bottom, 65280), c.result);
        const TestFrame expected =
            c.result ? Expected(before, OnOutline(c.left, c.top, c.right, c.bottom), Paint(kGreen)) : before;
        EXPECT_EQ(frame.bytes(), expected.bytes()) << c.left << "," << c.top;
    }
}

int Level(int value, int level) {
    return std::min(255, value * std::max(level, 0) / 128);
}

TEST(ZImageColorFilter, EveryValueAtEveryKindOfLevelAndAClippedRegionLeavesTheRestAlone) {
    // A row of 256 pixels holds every byte value in each channel: the vector loop and its tail see them all.
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

    // Clipped to the frame, the rest is left alone.
    struct Case {
        int x, y, w, h;
    };
    for (const Case c : {Case{-2, 3, 5, 100}, Case{5, 1, 30, 2}, Case{20, -4, 100, 6}, Case{40, 0, 5, 5}}) {
        TestFrame frame = TestFrame::Patterned(37, 5, 7);
        const TestFrame before = frame;
        ASSERT_EQ(ZImage_ColorFilter(frame.data(), 37, 5, c.w, c.h, c.x, c.y, 300, 64, 0), 1);
        const auto filtered = [](Bgr p) {
            return Bgr{0, Bgr::value_type(p[1] / 2), Bgr::value_type(Level(p[2], 300))};
        };
        EXPECT_EQ(frame.bytes(), Expected(before, InRect(c.x, c.y, c.w, c.h), filtered).bytes()) << c.x << "," << c.y;
    }
}

}  // namespace
