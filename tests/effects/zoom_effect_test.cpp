#include "effects/zoom_effect.h"
#include "effects/color_filter_effect.h"
#include "effects/zoom_window.h"

#include "test_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

namespace lumora {
namespace {

using test::MaxPixelDifference;
using test::NoiseFrame;
using test::ReferenceZoom;
using test::TestFrame;

// Offsets past the enlarged picture's far edges are stored clamped; negative ones the
// preview wrote before Start clamped them are kept and drawn as 0. How the window is drawn
// is compared with enlarging the whole frame in ZoomWindow's test below.
TEST(ZoomEffect, ShowsTheWindowAsEnlargingTheWholeFrameWouldAndStartClampsWhatThePanelWrote) {
    ZoomEffect zoom;
    zoom.SetFactor(512);
    for (const auto& [x, y, drawnX, drawnY] :
         {std::tuple{0, 0, 0, 0}, {5, 1, 5, 1}, {100, 100, 8, 6}, {-3, -1, 0, 0}}) {
        zoom.SetOffset(x, y);
        TestFrame frame = NoiseFrame(8, 6, 3);
        const TestFrame expected = ReferenceZoom(frame, 16, 12, drawnX, drawnY);
        ASSERT_TRUE(zoom.ProcessFrame(frame.data(), 8, 6, 0.0));
        EXPECT_EQ(frame.bytes, expected.bytes) << x;
        EXPECT_EQ(std::tuple(zoom.offsetX(), zoom.offsetY()), std::tuple(std::min(x, 8), std::min(y, 6))) << x;
    }

    // Start clamps what the panel wrote; Stop returns to 1.0x.
    const auto state = [&zoom] { return std::tuple(zoom.factor(), zoom.offsetX(), zoom.offsetY()); };
    zoom.SetFactor(4000);
    zoom.SetOffset(-7, 3);
    EXPECT_EQ(zoom.Start(), kEffectStarted);
    EXPECT_EQ(state(), std::tuple(1024, 0, 3));

    zoom.SetFactor(600);
    TestFrame frame = NoiseFrame(33, 7, 1);
    ASSERT_TRUE(zoom.ProcessFrame(frame.data(), 33, 7, 0.0));
    zoom.Stop();
    EXPECT_EQ(state(), std::tuple(256, 0, 0));
    // At 1.0x (also a frame that began before the effect was switched off) frames pass untouched.
    const TestFrame before = frame;
    EXPECT_TRUE(zoom.ProcessFrame(frame.data(), 33, 7, 0.0));
    EXPECT_EQ(frame.bytes, before.bytes);
    EXPECT_FALSE(zoom.ProcessFrame(nullptr, 33, 7, 0.0));

    // Every factor the panels can reach, on frame sizes with and without row padding, at the
    // window's corners, one pixel in and in the middle: within 1 of enlarging the whole frame,
    // and at exactly twice the size byte for byte what the 2x scaler makes.
    const std::tuple<int, int> sizes[] = {{1, 1}, {2, 3}, {17, 9}, {160, 120}, {641, 479}};
    ZoomWindow window;
    unsigned seed = 1;
    for (const auto& [w, h] : sizes) {
        for (int factor = 264; factor <= 1024; factor += 8) {
            if (w > 100 && factor % 48 != 0 && factor != 512) continue;  // keep the large frames quick
            const int zw = (factor * w) >> 8, zh = (factor * h) >> 8;
            const std::tuple<int, int> offsets[] = {
                {0, 0}, {std::min(1, zw - w), std::min(1, zh - h)}, {zw - w, zh - h}, {(zw - w) / 2, (zh - h) / 3}};
            for (const auto& [x, y] : offsets) {
                TestFrame source = NoiseFrame(w, h, seed++);
                TestFrame expected = ReferenceZoom(source, zw, zh, x, y);
                TestFrame actual = source;
                ASSERT_TRUE(window.Draw(actual.data(), w, h, zw, zh, x, y));
                ASSERT_LE(MaxPixelDifference(actual, expected), factor == 512 ? 0 : 1)
                    << w << "x" << h << " factor " << factor << " at " << x << "," << y;
                // Row padding is not part of the picture and stays as it was.
                EXPECT_EQ(test::RowPadding(actual), test::RowPadding(source)) << w << "x" << h;
            }
        }
    }

    // Windows outside the picture are refused and the frame is left as it was.
    frame = NoiseFrame(8, 6, 7);
    const TestFrame untouched = frame;
    EXPECT_FALSE(window.Draw(frame.data(), 8, 6, 16, 12, 9, 0));   // past the right edge
    EXPECT_FALSE(window.Draw(frame.data(), 8, 6, 16, 12, 0, -1));  // below the bottom
    EXPECT_FALSE(window.Draw(frame.data(), 8, 6, 7, 12, 0, 0));    // smaller than the frame
    EXPECT_FALSE(window.Draw(nullptr, 8, 6, 16, 12, 0, 0));
    EXPECT_FALSE(window.Draw(frame.data(), 0, 6, 16, 12, 0, 0));
    EXPECT_EQ(frame.bytes, untouched.bytes);
}

// Each channel becomes value * level / 128, cut to a whole number and to 255; levels
// outside 1 to 256 are read as neutral.
TEST(ColorFilterEffect, ScalesEachChannelOfEveryPixel) {
    ColorFilterEffect filter;
    EXPECT_TRUE(filter.IsNeutral());
    filter.SetLevels(192, 64, 256);  // red, green, blue
    EXPECT_FALSE(filter.IsNeutral());
    TestFrame frame(3, 2);  // 9 bytes and 3 of padding per row
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) frame.Set(x, y, 100, 101, 100);
    }
    frame.Set(2, 1, 200, 255, 255);
    std::memset(frame.pixel(0, 0) + 9, 0xEE, 3);
    ASSERT_TRUE(filter.ProcessFrame(frame.data(), 3, 2, 0.0));
    for (int i = 0; i < 6; ++i) {
        const std::uint8_t* p = frame.pixel(i % 3, i / 3);
        EXPECT_EQ(std::tuple(p[0], p[1], p[2]), i == 5 ? std::tuple(255, 127, 255) : std::tuple(200, 50, 150)) << i;
    }
    EXPECT_EQ(frame.pixel(0, 0)[9], 0xEE);
    EXPECT_FALSE(filter.ProcessFrame(nullptr, 3, 2, 0.0));
    for (const auto& [level, read] : {std::pair{0, 128}, {257, 128}, {-5, 128}, {1, 1}, {256, 256}}) {
        EXPECT_EQ(ColorFilterEffect::NormalizeLevel(level), read) << level;
    }
}

}  // namespace
}  // namespace lumora
