#include "effects/zoom_effect.h"
#include "effects/zoom_window.h"

#include "test_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace lumora {
namespace {

using test::MaxPixelDifference;
using test::NoiseFrame;
using test::ReferenceZoom;
using test::TestFrame;

// A 4 x 2 frame whose columns are 0, 40, 80, 120 (grey) on both rows. At 2x the
// enlarged row is 0 10 30 50 70 90 110 120: each new pixel weighs its nearest source
// pixel 3/4 and the next one 1/4, and the end pixels keep their values.
TestFrame ColumnRamp() {
    TestFrame frame(4, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) frame.SetGrey(x, y, static_cast<std::uint8_t>(40 * x));
    }
    return frame;
}

std::vector<int> GreyRow(TestFrame& frame, int y) {
    std::vector<int> row;
    for (int x = 0; x < frame.width; ++x) {
        const std::uint8_t* p = frame.pixel(x, y);
        EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
        row.push_back(p[0]);
    }
    return row;
}

// Offsets past the enlarged picture's far edges are stored clamped; negative ones the
// preview wrote before Start clamped them are kept and drawn as 0.
TEST(ZoomEffect, DoubleShowsTheHandComputedWindowAndStartClampsWhatThePanelWrote) {
    ZoomEffect zoom;
    zoom.SetFactor(512);
    for (const auto& [x, y, shown] : {std::tuple{0, 0, std::vector<int>{0, 10, 30, 50}},
                                      {4, 0, {70, 90, 110, 120}},
                                      {100, 100, {70, 90, 110, 120}},
                                      {-3, -1, {0, 10, 30, 50}}}) {
        zoom.SetOffset(x, y);
        TestFrame frame = ColumnRamp();
        ASSERT_TRUE(zoom.ProcessFrame(frame.data(), 4, 2, 0.0));
        EXPECT_EQ(GreyRow(frame, 0), shown) << x;
        EXPECT_EQ(GreyRow(frame, 1), shown) << x;
        EXPECT_EQ(zoom.offsetX(), std::min(x, 4));  // 8 - 4
        EXPECT_EQ(zoom.offsetY(), std::min(y, 2));  // 4 - 2
    }

    // Rows 0 and 200 (bottom, top) enlarge to 0 50 150 200; offset y 0 shows the bottom
    // two, offset y 2 the top two.
    for (const auto& [y, lower, upper] : {std::tuple{0, 0, 50}, {2, 150, 200}}) {
        TestFrame rows(3, 2);
        for (int x = 0; x < 3; ++x) rows.SetGrey(x, 1, 200);
        zoom.SetOffset(0, y);
        ASSERT_TRUE(zoom.ProcessFrame(rows.data(), 3, 2, 0.0));
        EXPECT_EQ(GreyRow(rows, 0), std::vector<int>(3, lower)) << y;
        EXPECT_EQ(GreyRow(rows, 1), std::vector<int>(3, upper)) << y;
    }

    // Start clamps what the panel wrote; Stop returns to 1.0x.
    zoom.SetFactor(4000);
    zoom.SetOffset(-7, 3);
    EXPECT_EQ(zoom.Start(), kEffectStarted);
    EXPECT_EQ(zoom.factor(), 1024);
    EXPECT_EQ(zoom.offsetX(), 0);
    EXPECT_EQ(zoom.offsetY(), 3);
    zoom.SetFactor(100);
    zoom.MoveOffset(-5, 2);
    zoom.Start();
    EXPECT_EQ(zoom.factor(), 256);
    EXPECT_EQ(zoom.offsetX(), 0);
    EXPECT_EQ(zoom.offsetY(), 5);

    zoom.SetFactor(600);
    TestFrame frame = NoiseFrame(33, 7, 1);
    ASSERT_TRUE(zoom.ProcessFrame(frame.data(), 33, 7, 0.0));
    zoom.Stop();
    EXPECT_EQ(zoom.factor(), 256);
    EXPECT_EQ(zoom.offsetX(), 0);
    EXPECT_EQ(zoom.offsetY(), 0);
    // At 1.0x (also a frame that began before the effect was switched off) frames pass untouched.
    const TestFrame before = frame;
    EXPECT_TRUE(zoom.ProcessFrame(frame.data(), 33, 7, 0.0));
    EXPECT_EQ(frame.bytes, before.bytes);
    EXPECT_FALSE(zoom.ProcessFrame(nullptr, 33, 7, 0.0));
}

// Every factor the panels can reach, on frame sizes with and without row padding, at the
// window's corners, one pixel in and in the middle: within 1 of enlarging the whole frame,
// and at exactly twice the size byte for byte what the 2x scaler makes.
TEST(ZoomWindow, MatchesEnlargingTheWholeFrameAndRefusesWindowsOutsideThePicture) {
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
