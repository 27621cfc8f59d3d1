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

// Red, green, blue and white in BT.601 limited range, black in the bars, and flat colours
// scaled from odd sizes: the cases below.
TEST_P(VcamFrameConverter, EveryQuadrantStaysInPlaceAsItIsAndScaledUp) {
    // Source size, device size, and the picture's left and right edge on the device.
    struct Case {
        int width, height, deviceWidth, deviceHeight, left, right;
    };
    for (const Case& c : {Case{64, 48, 64, 48, 0, 64}, Case{640, 480, 1280, 720, 160, 1120}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        FrameConverter converter(Device(c.deviceWidth, c.deviceHeight));
        ASSERT_TRUE(Convert(converter, c.width, c.height, [&c](int x, int y) {
            if (y < c.height / 2) return x < c.width / 2 ? test::kRed : test::kGreen;
            return x < c.width / 2 ? test::kBlue : test::kWhite;
        }));
        const int left = c.left + (c.right - c.left) / 8, right = c.right - (c.right - c.left) / 8;
        const int top = c.deviceHeight / 8, bottom = c.deviceHeight - top;
        EXPECT_TRUE(Near(SampleAt(converter, left, top), ExpectedYuv(test::kRed), 2, left, top));
        EXPECT_TRUE(Near(SampleAt(converter, right, top), ExpectedYuv(test::kGreen), 2, right, top));
        EXPECT_TRUE(Near(SampleAt(converter, left, bottom), ExpectedYuv(test::kBlue), 2, left, bottom));
        EXPECT_TRUE(Near(SampleAt(converter, right, bottom), ExpectedYuv(test::kWhite), 2, right, bottom));
    }
}

TEST_P(VcamFrameConverter, OffShapePicturesAreCentredBetweenBlackBarsAndOldBarsAreRepainted) {
    FrameConverter converter(Device(64, 48));
    const test::Yuv black{16, 128, 128};
    ASSERT_TRUE(Convert(converter, 30, 30, [](int, int) { return test::kWhite; }));  // square: 48x48 at x = 8
    for (int y = 0; y < 48; y += 3) {
        for (int x : {0, 7, 56, 63}) ASSERT_TRUE(Near(SampleAt(converter, x, y), black, 0, x, y));
        for (int x : {8, 32, 55}) ASSERT_TRUE(Near(SampleAt(converter, x, y), ExpectedYuv(test::kWhite), 2, x, y));
    }
    ASSERT_TRUE(Convert(converter, 128, 32, [](int, int) { return test::kRed; }));  // 64x16, rows 16 to 31
    for (int x = 0; x < 64; x += 3) {
        for (int y : {0, 15, 32, 47}) ASSERT_TRUE(Near(SampleAt(converter, x, y), black, 0, x, y));
        for (int y : {16, 24, 31}) ASSERT_TRUE(Near(SampleAt(converter, x, y), ExpectedYuv(test::kRed), 2, x, y));
    }
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
