#include <lumora/bitmap.h>
#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ZImageLayout, RowBytesAreRoundedUpToFourBytes) {
    EXPECT_EQ(ZImage_CalcWidthBytes(1, 24), 4u);
    EXPECT_EQ(ZImage_CalcWidthBytes(5, 24), 16u);
    EXPECT_EQ(ZImage_CalcWidthBytes(33, 1), 8u);
    EXPECT_EQ(ZImage_CalcWidthBytes(3, 16), 8u);
    EXPECT_EQ(ZImage_CalcWidthBytes(3, 32), 12u);
    EXPECT_EQ(ZImage_CalcImageSize(5, 3, 24), 48u);
}

TEST(ZImageLayout, BadOrOverflowingSizesAnswerZero) {
    EXPECT_EQ(ZImage_CalcWidthBytes(0, 24), 0u);
    EXPECT_EQ(ZImage_CalcWidthBytes(-4, 24), 0u);
    EXPECT_EQ(ZImage_CalcWidthBytes(10, 0), 0u);
    EXPECT_EQ(ZImage_CalcWidthBytes(10, 7), 0u);
    EXPECT_EQ(ZImage_CalcWidthBytes(10, -24), 0u);
    EXPECT_EQ(ZImage_CalcWidthBytes(INT32_MAX, 24), 0u);
    EXPECT_EQ(ZImage_CalcImageSize(0, 10, 24), 0u);
    EXPECT_EQ(ZImage_CalcImageSize(10, -1, 24), 0u);
    EXPECT_EQ(ZImage_CalcImageSize(70000, 70000, 24), 0u);
    EXPECT_EQ(ZImage_CalcImageSize(INT32_MAX, INT32_MAX, 32), 0u);
    // Sizes stay below 2^31 so they fit signed 32-bit sizes as well.
    EXPECT_EQ(ZImage_CalcImageSize(4, 536870911, 8), 2147483644u);
    EXPECT_EQ(ZImage_CalcImageSize(4, 536870912, 8), 0u);
}

TEST(ZImageLayout, BitmapOwnsBlackBottomUpRows) {
    const auto bitmap = lumora::Bitmap::Create(3, 2);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->stride(), 12u);
    ASSERT_EQ(bitmap->size_bytes(), 24u);
    EXPECT_EQ(bitmap->row(0), bitmap->data());
    EXPECT_EQ(bitmap->row(1), bitmap->data() + 12);
    EXPECT_EQ(bitmap->row(2), nullptr);
    EXPECT_EQ(bitmap->row(-1), nullptr);
    for (std::size_t i = 0; i < bitmap->size_bytes(); ++i) EXPECT_EQ(bitmap->data()[i], 0) << i;

    EXPECT_EQ(lumora::Bitmap::Create(0, 5), nullptr);
    EXPECT_EQ(lumora::Bitmap::Create(5, -1), nullptr);
    EXPECT_EQ(lumora::Bitmap::Create(70000, 70000), nullptr);
}

}  // namespace
