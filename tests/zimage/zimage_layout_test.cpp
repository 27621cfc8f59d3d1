#include <lumora/bitmap.h>
#include <lumora/zimage.h>

#include "zimage/row_converter.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

namespace {

// Rows are rounded up to four bytes; bad sizes, and sizes of 2^31 bytes or more (they must
// fit signed 32-bit sizes as well), answer zero.
TEST(ZImageLayout, RowAndImageBytesAndBitmapsOfBlackBottomUpRows) {
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

    const auto bitmap = lumora::Bitmap::Create(3, 2);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(std::tuple(bitmap->stride(), bitmap->size_bytes()), std::tuple(12u, 24u));
    EXPECT_EQ(std::tuple(bitmap->row(1), bitmap->row(2), bitmap->row(-1)),
              std::tuple(bitmap->data() + 12, nullptr, nullptr));
    EXPECT_EQ(std::vector<std::uint8_t>(bitmap->data(), bitmap->data() + 24), std::vector<std::uint8_t>(24));
    for (const auto& [width, height] : {std::pair{0, 5}, std::pair{5, -1}, std::pair{70000, 70000}}) {
        EXPECT_EQ(lumora::Bitmap::Create(width, height), nullptr) << width;
    }
}

using lumora::zimage::RowConverter;

// A row in an allocation of exactly its size, so a read or write past its end is caught
// (by AddressSanitizer in that build).
std::unique_ptr<std::uint8_t[]> Exact(std::size_t bytes) { return std::make_unique<std::uint8_t[]>(bytes); }

// Every width from none to past a few vector steps, so the vector part and the tail of
// each direction meet at every remainder.
TEST(RowConverter, BothWaysKeepEveryPixelAndTouchOnlyTheirRows) {
    for (std::size_t pixels = 0; pixels <= 37; ++pixels) {
        auto bgr = Exact(pixels * 3);
        for (std::size_t i = 0; i < pixels * 3; ++i) bgr[i] = static_cast<std::uint8_t>(i * 7 + 1);
        auto bgrx = Exact(pixels * 4);
        RowConverter::BgrToBgrx(bgr.get(), bgrx.get(), pixels);
        std::vector<std::uint8_t> expected;
        for (std::size_t p = 0; p < pixels; ++p)
            expected.insert(expected.end(), {bgr[p * 3], bgr[p * 3 + 1], bgr[p * 3 + 2], 0xff});
        EXPECT_EQ(std::vector<std::uint8_t>(bgrx.get(), bgrx.get() + pixels * 4), expected) << pixels << " pixels";
        auto back = Exact(pixels * 3);
        RowConverter::BgrxToBgr(bgrx.get(), back.get(), pixels);
        EXPECT_EQ(std::vector<std::uint8_t>(back.get(), back.get() + pixels * 3),
                  std::vector<std::uint8_t>(bgr.get(), bgr.get() + pixels * 3))
            << pixels << " pixels";
    }
}

}  // namespace
