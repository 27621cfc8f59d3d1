#include "zimage/row_converter.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace lumora::zimage {
namespace {

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
}  // namespace lumora::zimage
