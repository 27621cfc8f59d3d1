#include <lumora/bitmap.h>
#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <climits>

namespace {

// Rows are rounded up to four bytes; bad sizes, and sizes of 2^31 bytes or more (they must
// fit signed 32-bit sizes as well), answer zero.
TEST(ZImageLayout, RowAndImageBytes) {
    const struct {
        int width, height, bits;
        std::uint32_t row, image;
    } cases[] = {{1, 1, 24, 4, 4},   {5, 3, 24, 16, 48},       {70000, 70000, 24, 210000, 0},
                 {33, 1, 1, 8, 8},   {3, 1, 16, 8, 8},         {4, 536870911, 8, 4, 2147483644u},
                 {3, 1, 32, 12, 12}, {0, 10, 24, 0, 0},        {4, 536870912, 8, 4, 0},
                 {-4, 1, 24, 0, 0},  {10, 1, 0, 0, 0},         {10, 1, 7, 0, 0},
                 {10, 1, -24, 0, 0}, {INT32_MAX, 1, 24, 0, 0}, {10, -1, 24, 32, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ZImage_CalcWidthBytes(c.width, c.bits), c.row) << c.width << " x " << c.bits;
        EXPECT_EQ(ZImage_CalcImageSize(c.width, c.height, c.bits), c.image) << c.width << " x " << c.height;
    }
    EXPECT_EQ(ZImage_CalcImageSize(INT32_MAX, INT32_MAX, 32), 0u);
}

TEST(ZImageLayout, BitmapOwnsBlackBottomUpRows) {
    const auto bitmap = lumora::Bitmap::Create(3, 2);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->stride(), 12u);
    ASSERT_EQ(bitmap->size_bytes(), 24u);
    EXPECT_EQ(bitmap->row(1), bitmap->data() + 12);
    EXPECT_EQ(bitmap->row(2), nullptr);
    EXPECT_EQ(bitmap->row(-1), nullptr);
    for (std::size_t i = 0; i < bitmap->size_bytes(); ++i) EXPECT_EQ(bitmap->data()[i], 0) << i;

    EXPECT_EQ(lumora::Bitmap::Create(0, 5), nullptr);
    EXPECT_EQ(lumora::Bitmap::Create(5, -1), nullptr);
    EXPECT_EQ(lumora::Bitmap::Create(70000, 70000), nullptr);
}

}  // namespace
