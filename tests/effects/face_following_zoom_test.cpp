#include "effects/face_following_zoom.h"

#include "effects/zoom_window.h"
#include "test_frames.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using test::TestFrame;

constexpr int kW = 320, kH = 240;
constexpr std::uint8_t kGreen[3] = {0, 255, 0};

// A face of w x h pixels with its lower-left corner at (x, y).
FaceRect Face(int x, int y, int w, int h) { return FaceRect{x, y + h, x + w, y}; }

int Target(const FaceRect& face, int amount = 9) {
    return FaceFollowingZoom::TargetFactor(face, kW, kH, amount, nullptr);
}

bool IsGreen(TestFrame& frame, int x, int y) {
    const std::uint8_t* p = frame.pixel(x, y);
    return p[0] == kGreen[0] && p[1] == kGreen[1] && p[2] == kGreen[2];
}

// A frame with no green in it, so the outline is the only green.
TestFrame Picture() {
    TestFrame frame = test::NoiseFrame(kW, kH, 11);
    for (std::size_t i = 1; i < frame.bytes.size(); i += 3) frame.bytes[i] &= 0x7F;
    return frame;
}

TEST(FaceZoom, TargetFactorFillsTheFrameByTheAmount) {
    // ((9 * 320 * 256) / 10) / 64 = 1152 and ((9 * 240 * 256) / 10) / 48 = 1152: above 3.97x.
    EXPECT_EQ(Target(Face(100, 100, 64, 48)), 1016);
    // 73728 / 160 = 460 and 55296 / 120 = 460, quantised to 456.
    EXPECT_EQ(Target(Face(80, 60, 160, 120)), 456);
    // The tighter direction decides: 73728 / 249 = 296, 55296 / 180 = 307 -> 304.
    EXPECT_EQ(Target(Face(30, 30, 249, 180)), 296);
    // Amount 6 ("little") on a large face: 49152 / 200 = 245, below 264.
    EXPECT_EQ(Target(Face(60, 40, 200, 150), 6), 256);
}

TEST(FaceZoom, QuantisesToStepsOfEightUpTo1016) {
    EXPECT_EQ(FaceFollowingZoom::Quantise(0), 256);
    EXPECT_EQ(FaceFollowingZoom::Quantise(263), 256);
    EXPECT_EQ(FaceFollowingZoom::Quantise(264), 264);
    EXPECT_EQ(FaceFollowingZoom::Quantise(271), 264);
    EXPECT_EQ(FaceFollowingZoom::Quantise(1016), 1016);
    EXPECT_EQ(FaceFollowingZoom::Quantise(1023), 1016);
    EXPECT_EQ(FaceFollowingZoom::Quantise(5000), 1016);
}

TEST(FaceZoom, FacesOutsideOrUnderTenPixelsGiveNoZoom) {
    EXPECT_EQ(Target(FaceRect{-40, 100, 0, 60}), 256);     // right of 0: wholly left
    EXPECT_EQ(Target(FaceRect{320, 100, 360, 60}), 256);   // wholly right
    EXPECT_EQ(Target(FaceRect{100, 300, 140, 240}), 256);  // wholly above
    EXPECT_EQ(Target(FaceRect{100, -1, 140, -40}), 256);   // wholly below
    EXPECT_EQ(Target(Face(100, 100, 9, 48)), 256);
    EXPECT_EQ(Target(Face(100, 100, 64, 9)), 256);
    // Partly outside: only the part inside counts. 14 columns are inside on the left, so
    // the height decides: 55296 / 60 = 921 -> 920. At the top the face is cut at row 239
    // (and its bottom at -1).
    FaceRect clipped;
    EXPECT_EQ(FaceFollowingZoom::TargetFactor(FaceRect{-50, 100, 14, 40}, kW, kH, 9, &clipped), 920);
    EXPECT_EQ(clipped, (FaceRect{0, 100, 14, 40}));
    FaceFollowingZoom::TargetFactor(FaceRect{10, 400, 210, -30}, kW, kH, 9, &clipped);
    EXPECT_EQ(clipped, (FaceRect{10, 239, 210, -1}));
    EXPECT_EQ(Target(FaceRect{-50, 100, 5, 40}), 256);  // 5 columns inside
}

// A face too small to zoom on is only outlined, at its raw position (also partly
// outside the frame), and the factor stays as it was.
TEST(FaceZoom, NoZoomDrawsTheRawOutlineOnly) {
    FaceFollowingZoom zoom;
    zoom.Reinitialise();
    zoom.SetFace(FaceRect{-3, 20, 5, 12}, true);
    TestFrame frame = Picture();
    TestFrame expected = frame;
    ZImage_DrawRect(expected.data(), kW, kH, -3, 20, 5, 12, 0x0000FF00);
    zoom.Apply(frame.data(), kW, kH);
    EXPECT_EQ(frame.bytes, expected.bytes);
    EXPECT_TRUE(IsGreen(frame, 4, 12));
    EXPECT_EQ(zoom.factor(), 256);

    zoom.SetShowLocator(false);
    TestFrame plain = Picture();
    const TestFrame before = plain;
    zoom.Apply(plain.data(), kW, kH);
    EXPECT_EQ(plain.bytes, before.bytes);

    // Without a face (after Reinitialise) nothing is drawn, whatever the switch says.
    zoom.SetShowLocator(true);
    zoom.Reinitialise();
    zoom.Apply(plain.data(), kW, kH);
    EXPECT_EQ(plain.bytes, before.bytes);
}

// Targets within 32 of the factor are ignored; beyond, the factor moves 8 per frame,
// starting the frame after the change was seen, until it equals the target.
TEST(FaceZoom, FactorIgnoresSmallChangesAndStepsByEight) {
    FaceFollowingZoom zoom;
    zoom.Reinitialise();
    zoom.SetShowLocator(false);
    TestFrame frame = Picture();
    zoom.SetFace(Face(30, 30, 256, 180), true);  // target 288: 256 + 32
    for (int i = 0; i < 5; ++i) zoom.Apply(frame.data(), kW, kH);
    EXPECT_EQ(zoom.factor(), 256);
    EXPECT_FALSE(zoom.adjusting());

    zoom.SetFace(Face(30, 30, 249, 180), true);  // target 296
    std::vector<int> factors;
    for (int i = 0; i < 8; ++i) {
        zoom.Apply(frame.data(), kW, kH);
        factors.push_back(zoom.factor());
    }
    EXPECT_EQ(factors, (std::vector<int>{256, 264, 272, 280, 288, 296, 296, 296}));
    EXPECT_FALSE(zoom.adjusting());

    // Back down: the face grew, the target is 256 again, and the frame is not zoomed at
    // all while the factor stays.
    zoom.SetFace(Face(10, 10, 300, 220), true);
    zoom.Apply(frame.data(), kW, kH);
    EXPECT_EQ(zoom.factor(), 296);
}

// Runs frames until the zoom is steady (not adjusting, not following); the frame count.
int Settle(FaceFollowingZoom& zoom, TestFrame& scratch) {
    for (int frames = 1; frames < 2000; ++frames) {
        zoom.Apply(scratch.data(), kW, kH);
        if (!zoom.adjusting() && !zoom.following()) return frames;
    }
    return -1;
}

// The outline's centre in the picture; the outline is the only green.
std::pair<int, int> OutlineCentre(TestFrame& frame) {
    int left = kW, right = -1, bottom = kH, top = -1;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            if (!IsGreen(frame, x, y)) continue;
            left = std::min(left, x), right = std::max(right, x);
            bottom = std::min(bottom, y), top = std::max(top, y);
        }
    }
    return {(left + right) / 2, (bottom + top) / 2};
}

TEST(FaceZoom, PansTwoPixelsAFrameAfterAFaceMoreThan40Away) {
    FaceFollowingZoom zoom;
    zoom.Reinitialise();
    zoom.SetFace(Face(128, 96, 64, 48), true);  // centred; target 1016
    TestFrame scratch = Picture();
    ASSERT_GT(Settle(zoom, scratch), 0);
    EXPECT_EQ(zoom.factor(), 1016);

    // 8 pixels to the right are about 32 in the enlarged picture: not enough to follow.
    zoom.SetFace(Face(136, 96, 64, 48), true);
    zoom.Apply(scratch.data(), kW, kH);
    EXPECT_FALSE(zoom.following());

    // 30 pixels are about 119: the window starts following on the next frame.
    zoom.SetFace(Face(158, 96, 64, 48), true);
    const int x0 = zoom.offsetX(), y0 = zoom.offsetY();
    zoom.Apply(scratch.data(), kW, kH);
    EXPECT_TRUE(zoom.following());
    EXPECT_EQ(zoom.offsetX(), x0);
    EXPECT_EQ(zoom.offsetY(), y0);
    // Each axis moves 2 pixels a frame until it is within 6 (the y axis too: it may have
    // been left up to 40 off); x has about 119 - 6 pixels to go.
    int frames = 0;
    while (zoom.following() && frames < 500) {
        const int x = zoom.offsetX(), y = zoom.offsetY();
        zoom.Apply(scratch.data(), kW, kH);
        const int dx = zoom.offsetX() - x, dy = zoom.offsetY() - y;
        EXPECT_TRUE(dx == 2 || dx == 0) << dx;
        EXPECT_TRUE(dy == 2 || dy == 0 || dy == -2) << dy;
        EXPECT_TRUE(zoom.following() || (dx == 0 && dy == 0));
        ++frames;
    }
    EXPECT_GE(zoom.offsetX() - x0, 2 * 50);
    EXPECT_FALSE(zoom.following());

    // Settled: the outlined face sits within 6 pixels of the picture's centre.
    TestFrame frame = Picture();
    zoom.Apply(frame.data(), kW, kH);
    const auto [cx, cy] = OutlineCentre(frame);
    EXPECT_NEAR(cx, kW / 2, 7);
    EXPECT_NEAR(cy, kH / 2, 7);
}

// Near the frame's corner the window wants to go past the enlarged picture: the stored
// offsets do, the drawn window stays at the edge.
TEST(FaceZoom, DrawnWindowStaysInsideThePictureWhileOffsetsRunPast) {
    FaceFollowingZoom zoom;
    zoom.Reinitialise();
    zoom.SetShowLocator(false);
    zoom.SetFace(Face(0, 0, 64, 48), true);
    TestFrame scratch = Picture();
    ASSERT_GT(Settle(zoom, scratch), 0);
    EXPECT_LT(zoom.offsetX(), 0);
    EXPECT_LT(zoom.offsetY(), 0);

    TestFrame frame = Picture();
    TestFrame expected = test::ReferenceZoom(frame, (1016 * kW) >> 8, (1016 * kH) >> 8, 0, 0);
    zoom.Apply(frame.data(), kW, kH);
    EXPECT_LE(test::MaxPixelDifference(frame, expected), 1);

    zoom.SetFace(Face(kW - 64, kH - 48, 64, 48), true);
    ASSERT_GT(Settle(zoom, scratch), 0);
    const int zw = (1016 * kW) >> 8, zh = (1016 * kH) >> 8;
    EXPECT_GT(zoom.offsetX(), zw - kW);
    TestFrame far = Picture();
    TestFrame farExpected = test::ReferenceZoom(far, zw, zh, zw - kW, zh - kH);
    zoom.Apply(far.data(), kW, kH);
    EXPECT_LE(test::MaxPixelDifference(far, farExpected), 1);
}

}  // namespace
}  // namespace lumora
