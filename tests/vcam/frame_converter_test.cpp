#include "vcam/frame_converter.h"
#include "vcam_test_frames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace lumora {
namespace {

using test::Bgr;
using test::ExpectedYuv;
using test::MakeFrame;

// Reads the Y, U and V that cover device pixel (x, y) in either layout.
test::Yuv SampleAt(const FrameConverter& converter, int x, int y) {
    const DeviceFrameFormat& f = converter.format();
    const std::uint8_t* d = converter.data();
    if (f.pixelFormat == VcamPixelFormat::kYuyv) {
        const std::uint8_t* pair = d + static_cast<std::size_t>(y) * f.width * 2 + (x & ~1) * 2;
        return {static_cast<double>(pair[(x & 1) * 2]), static_cast<double>(pair[1]), static_cast<double>(pair[3])};
    }
    const std::size_t lumaPlane = static_cast<std::size_t>(f.width) * f.height;
    const std::size_t chroma = static_cast<std::size_t>(y / 2) * (f.width / 2) + x / 2;
    return {static_cast<double>(d[static_cast<std::size_t>(y) * f.width + x]),
            static_cast<double>(d[lumaPlane + chroma]), static_cast<double>(d[lumaPlane + lumaPlane / 4 + chroma])};
}

::testing::AssertionResult Near(const test::Yuv& got, const test::Yuv& want, double tolerance, int x, int y) {
    if (std::abs(got.y - want.y) <= tolerance && std::abs(got.u - want.u) <= tolerance &&
        std::abs(got.v - want.v) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "at (" << x << ", " << y << ") got Y" << got.y << " U" << got.u << " V"
                                         << got.v << ", want Y" << want.y << " U" << want.u << " V" << want.v;
}

bool Convert(FrameConverter& converter, int width, int height, const test::Painter& paint) {
    const auto frame = MakeFrame(width, height, paint);
    return converter.Convert(frame.data(), width, height);
}

class VcamFrameConverter : public ::testing::TestWithParam<VcamPixelFormat> {
protected:
    DeviceFrameFormat Device(int width, int height) const { return {width, height, GetParam()}; }
};

TEST_P(VcamFrameConverter, PureColoursComeOutInBt601LimitedRange) {
    FrameConverter converter(Device(64, 48));
    for (Bgr colour : {test::kRed, test::kGreen, test::kBlue, test::kWhite, test::kBlack}) {
        // A different source size each time also checks that scaling keeps flat colours.
        ASSERT_TRUE(Convert(converter, 37, 29, [&](int, int) { return colour; }));
        const test::Yuv want = ExpectedYuv(colour);
        for (int y = 0; y < 48; y += 7) {
            for (int x = 8; x < 56; x += 5) ASSERT_TRUE(Near(SampleAt(converter, x, y), want, 2, x, y));
        }
    }
}

TEST_P(VcamFrameConverter, TheTopRowOfThePictureIsTheFirstRowWritten) {
    FrameConverter converter(Device(64, 48));
    for (auto [w, h] : {std::pair{64, 48}, {32, 24}}) {  // as it is, and scaled
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        // Top half red, bottom half blue; the left quarter of the top half green.
        ASSERT_TRUE(Convert(converter, w, h, [w, h](int x, int y) {
            if (y >= h / 2) return test::kBlue;
            return x < w / 4 ? test::kGreen : test::kRed;
        }));
        EXPECT_TRUE(Near(SampleAt(converter, 32, 0), ExpectedYuv(test::kRed), 2, 32, 0));
        EXPECT_TRUE(Near(SampleAt(converter, 2, 2), ExpectedYuv(test::kGreen), 2, 2, 2));
        EXPECT_TRUE(Near(SampleAt(converter, 32, 47), ExpectedYuv(test::kBlue), 2, 32, 47));
        EXPECT_TRUE(Near(SampleAt(converter, 2, 46), ExpectedYuv(test::kBlue), 2, 2, 46));
    }
}

TEST_P(VcamFrameConverter, ANarrowPictureIsCentredBetweenBlackBars) {
    FrameConverter converter(Device(64, 48));
    ASSERT_TRUE(Convert(converter, 30, 30, [](int, int) { return test::kWhite; }));  // square: 48x48 at x = 8
    const test::Yuv black{16, 128, 128};
    for (int y = 0; y < 48; y += 3) {
        for (int x : {0, 7, 56, 63}) ASSERT_TRUE(Near(SampleAt(converter, x, y), black, 0, x, y));
        for (int x : {8, 32, 55}) ASSERT_TRUE(Near(SampleAt(converter, x, y), ExpectedYuv(test::kWhite), 2, x, y));
    }
}

TEST_P(VcamFrameConverter, AWidePictureGetsBarsAboveAndBelowAndOldBarsAreRepainted) {
    FrameConverter converter(Device(64, 48));
    ASSERT_TRUE(Convert(converter, 30, 30, [](int, int) { return test::kWhite; }));
    ASSERT_TRUE(Convert(converter, 128, 32, [](int, int) { return test::kRed; }));  // 64x16, rows 16 to 31
    const test::Yuv black{16, 128, 128};
    for (int x = 0; x < 64; x += 3) {
        for (int y : {0, 15, 32, 47}) ASSERT_TRUE(Near(SampleAt(converter, x, y), black, 0, x, y));
        for (int y : {16, 24, 31}) ASSERT_TRUE(Near(SampleAt(converter, x, y), ExpectedYuv(test::kRed), 2, x, y));
    }
}

TEST_P(VcamFrameConverter, ScalingUpKeepsEveryQuadrantInItsPlace) {
    FrameConverter converter(Device(1280, 720));
    // 640x480 into 1280x720: a 960x720 picture from x = 160.
    ASSERT_TRUE(Convert(converter, 640, 480, [](int x, int y) {
        if (y < 240) return x < 320 ? test::kRed : test::kGreen;
        return x < 320 ? test::kBlue : test::kWhite;
    }));
    EXPECT_TRUE(Near(SampleAt(converter, 170, 10), ExpectedYuv(test::kRed), 2, 170, 10));
    EXPECT_TRUE(Near(SampleAt(converter, 1100, 10), ExpectedYuv(test::kGreen), 2, 1100, 10));
    EXPECT_TRUE(Near(SampleAt(converter, 170, 710), ExpectedYuv(test::kBlue), 2, 170, 710));
    EXPECT_TRUE(Near(SampleAt(converter, 1100, 710), ExpectedYuv(test::kWhite), 2, 1100, 710));
    EXPECT_TRUE(Near(SampleAt(converter, 100, 360), test::Yuv{16, 128, 128}, 0, 100, 360));
}

TEST_P(VcamFrameConverter, OddAndTinySourcesConvertAndBadSizesAreRefused) {
    FrameConverter converter(Device(64, 48));
    for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {3, 5}, {641, 479}}) {
        ASSERT_TRUE(Convert(converter, w, h, [](int, int) { return test::kGreen; })) << w << "x" << h;
        EXPECT_TRUE(Near(SampleAt(converter, 32, 24), ExpectedYuv(test::kGreen), 2, 32, 24)) << w << "x" << h;
    }
    const auto frame = MakeFrame(4, 4, [](int, int) { return test::kRed; });
    EXPECT_FALSE(converter.Convert(nullptr, 4, 4));
    EXPECT_FALSE(converter.Convert(frame.data(), 0, 4));
    EXPECT_FALSE(converter.Convert(frame.data(), 4, -4));
}

INSTANTIATE_TEST_SUITE_P(Layouts, VcamFrameConverter, ::testing::Values(VcamPixelFormat::kYuyv, VcamPixelFormat::kI420),
                         [](const auto& info) { return info.param == VcamPixelFormat::kYuyv ? "Yuyv" : "I420"; });

}  // namespace
}  // namespace lumora
