#include "effects/zoom_window.h"

#include "test_frames.h"

#include <gtest/gtest.h>

#include <tuple>

namespace lumora {
namespace {

using test::MaxPixelDifference;
using test::NoiseFrame;
using test::ReferenceZoom;
using test::TestFrame;

// Every factor the panels can reach, on frame sizes with and without row padding,
// at the window's corners and in the middle.
TEST(ZoomWindow, MatchesEnlargingTheWholeFrameWithinOne) {
    const std::tuple<int, int> sizes[] = {{1, 1}, {3, 2}, {17, 9}, {160, 120}, {641, 479}};
    std::vector<int> factors;
    for (int f = 264; f <= 1024; f += 8) factors.push_back(f);
    ZoomWindow window;
    unsigned seed = 1;
    for (const auto& [w, h] : sizes) {
        for (const int factor : factors) {
            if (w > 100 && factor % 48 != 0 && factor != 512) continue;  // keep the large frames quick
            const int zw = (factor * w) >> 8, zh = (factor * h) >> 8;
            const std::tuple<int, int> offsets[] = {{0, 0}, {zw - w, zh - h}, {(zw - w) / 2, (zh - h) / 3}};
            for (const auto& [x, y] : offsets) {
                TestFrame source = NoiseFrame(w, h, seed++);
                TestFrame expected = ReferenceZoom(source, zw, zh, x, y);
                TestFrame actual = source;
                ASSERT_TRUE(window.Draw(actual.data(), w, h, zw, zh, x, y));
                ASSERT_LE(MaxPixelDifference(actual, expected), 1)
                    << w << "x" << h << " factor " << factor << " at " << x << "," << y;
                // Row padding is not part of the picture and stays as it was.
                EXPECT_EQ(test::RowPadding(actual), test::RowPadding(source)) << w << "x" << h;
            }
        }
    }
}

// At exactly twice the size the window is byte for byte what the 2x scaler makes, at
// every offset parity and with odd sizes.
TEST(ZoomWindow, DoubleSizeIsExact) {
    const std::tuple<int, int> sizes[] = {{1, 1}, {2, 3}, {5, 4}, {37, 21}, {641, 479}};
    ZoomWindow window;
    for (const auto& [w, h] : sizes) {
        for (const auto& [x, y] : {std::pair{0, 0}, {1, 1}, {w / 2, h / 3}, {w - 1, h}, {w, h}}) {
            if (x > w || y > h) continue;
            TestFrame source = NoiseFrame(w, h, static_cast<unsigned>(w * 31 + x * 7 + y));
            TestFrame expected = ReferenceZoom(source, 2 * w, 2 * h, x, y);
            TestFrame actual = source;
            ASSERT_TRUE(window.Draw(actual.data(), w, h, 2 * w, 2 * h, x, y));
            EXPECT_EQ(MaxPixelDifference(actual, expected), 0) << w << "x" << h << " at " << x << "," << y;
            EXPECT_EQ(test::RowPadding(actual), test::RowPadding(source));
        }
    }
}

TEST(ZoomWindow, RefusesWindowsOutsideThePictureAndLeavesTheFrame) {
    ZoomWindow window;
    TestFrame frame = NoiseFrame(8, 6, 7);
    const TestFrame before = frame;
    EXPECT_FALSE(window.Draw(frame.data(), 8, 6, 16, 12, 9, 0));   // past the right edge
    EXPECT_FALSE(window.Draw(frame.data(), 8, 6, 16, 12, 0, -1));  // below the bottom
    EXPECT_FALSE(window.Draw(frame.data(), 8, 6, 7, 12, 0, 0));    // smaller than the frame
    EXPECT_FALSE(window.Draw(nullptr, 8, 6, 16, 12, 0, 0));
    EXPECT_FALSE(window.Draw(frame.data(), 0, 6, 16, 12, 0, 0));
    EXPECT_EQ(frame.bytes, before.bytes);
}

}  // namespace
}  // namespace lumora
