#include "effects/zoom_effect.h"

#include "test_frames.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

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

TEST(ZoomEffect, FactorOneLeavesTheFrameAlone) {
    ZoomEffect zoom;
    TestFrame frame = test::NoiseFrame(33, 7, 3);
    const TestFrame before = frame;
    zoom.SetOffset(5, 5);
    EXPECT_TRUE(zoom.ProcessFrame(frame.data(), 33, 7, 0.0));
    EXPECT_EQ(frame.bytes, before.bytes);
    EXPECT_FALSE(zoom.ProcessFrame(nullptr, 33, 7, 0.0));
}

TEST(ZoomEffect, DoubleShowsTheHandComputedWindow) {
    ZoomEffect zoom;
    zoom.SetFactor(512);
    TestFrame left = ColumnRamp();
    ASSERT_TRUE(zoom.ProcessFrame(left.data(), 4, 2, 0.0));
    EXPECT_EQ(GreyRow(left, 0), (std::vector<int>{0, 10, 30, 50}));
    EXPECT_EQ(GreyRow(left, 1), (std::vector<int>{0, 10, 30, 50}));

    zoom.SetOffset(4, 0);
    TestFrame right = ColumnRamp();
    ASSERT_TRUE(zoom.ProcessFrame(right.data(), 4, 2, 0.0));
    EXPECT_EQ(GreyRow(right, 0), (std::vector<int>{70, 90, 110, 120}));

    // Rows 0 and 200 (bottom, top) enlarge to 0 50 150 200; offset y 0 shows the bottom
    // two, offset y 2 the top two.
    TestFrame rows(3, 2);
    for (int x = 0; x < 3; ++x) rows.SetGrey(x, 1, 200);
    zoom.SetOffset(0, 0);
    TestFrame bottom = rows;
    ASSERT_TRUE(zoom.ProcessFrame(bottom.data(), 3, 2, 0.0));
    EXPECT_EQ(GreyRow(bottom, 0), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(GreyRow(bottom, 1), (std::vector<int>{50, 50, 50}));
    zoom.SetOffset(0, 2);
    TestFrame top = rows;
    ASSERT_TRUE(zoom.ProcessFrame(top.data(), 3, 2, 0.0));
    EXPECT_EQ(GreyRow(top, 0), (std::vector<int>{150, 150, 150}));
    EXPECT_EQ(GreyRow(top, 1), (std::vector<int>{200, 200, 200}));
}

TEST(ZoomEffect, OffsetsPastThePictureAreClampedAndKept) {
    ZoomEffect zoom;
    zoom.SetFactor(512);
    zoom.SetOffset(100, 100);
    TestFrame frame = ColumnRamp();
    ASSERT_TRUE(zoom.ProcessFrame(frame.data(), 4, 2, 0.0));
    EXPECT_EQ(zoom.offsetX(), 4);  // 8 - 4
    EXPECT_EQ(zoom.offsetY(), 2);  // 4 - 2
    EXPECT_EQ(GreyRow(frame, 0), (std::vector<int>{70, 90, 110, 120}));
}

TEST(ZoomEffect, StartClampsWhatThePanelWroteAndStopReturnsToOne) {
    ZoomEffect zoom;
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
    TestFrame frame = test::NoiseFrame(20, 10, 1);
    ASSERT_TRUE(zoom.ProcessFrame(frame.data(), 20, 10, 0.0));
    zoom.Stop();
    EXPECT_EQ(zoom.factor(), 256);
    EXPECT_EQ(zoom.offsetX(), 0);
    EXPECT_EQ(zoom.offsetY(), 0);
    // A frame that began before the effect was switched off passes untouched.
    const TestFrame before = frame;
    EXPECT_TRUE(zoom.ProcessFrame(frame.data(), 20, 10, 0.0));
    EXPECT_EQ(frame.bytes, before.bytes);
}

// A negative offset the preview wrote before Start clamped it is drawn as 0.
TEST(ZoomEffect, NegativeOffsetsDrawTheEdgeWindow) {
    ZoomEffect zoom;
    zoom.SetFactor(512);
    zoom.SetOffset(-3, -1);
    TestFrame frame = ColumnRamp();
    ASSERT_TRUE(zoom.ProcessFrame(frame.data(), 4, 2, 0.0));
    EXPECT_EQ(GreyRow(frame, 0), (std::vector<int>{0, 10, 30, 50}));
    EXPECT_EQ(zoom.offsetX(), -3);
}

}  // namespace
}  // namespace lumora
