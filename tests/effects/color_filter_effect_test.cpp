#include "effects/color_filter_effect.h"

#include "test_frames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>

namespace lumora {
namespace {

using test::TestFrame;

// Each channel becomes value * level / 128, cut to a whole number and to 255; levels
// outside 1 to 256 are read as neutral.
TEST(ColorFilterEffect, ScalesEachChannelOfEveryPixel) {
    ColorFilterEffect filter;
    EXPECT_TRUE(filter.IsNeutral());
    filter.SetLevels(192, 64, 256);  // red, green, blue
    EXPECT_FALSE(filter.IsNeutral());
    TestFrame frame(3, 2);           // 9 bytes and 3 of padding per row
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
