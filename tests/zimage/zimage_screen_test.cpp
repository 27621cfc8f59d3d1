// Screen copies: argument checks without a display, and real copies from an Xvfb server
// that the test starts itself (skipped where Xvfb is not installed).
#include "../video/test_environment.h"

#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using lumora::test::ScopedEnv;
using lumora::test::XvfbServer;

ZImageBitmapInfoHeader Header(int width, int height, int bits = 24) {
    const std::uint32_t size = ZImage_CalcImageSize(width, height < 0 ? -height : height, bits);
    return {40, width, height, 1, static_cast<std::uint16_t>(bits), 0, size, 0, 0, 0, 0};
}

// Copies `rect` at out_width x out_height; the buffer is exactly the image size.
std::vector<std::uint8_t> Copy(ZImageRect rect, int out_width, int out_height, int bits, bool top_down,
                               std::uint32_t* result) {
    const auto header = Header(out_width, top_down ? -out_height : out_height, bits);
    std::vector<std::uint8_t> pixels(header.biSizeImage, 0x5A);
    *result = ZImage_CopyScreenToBitmap(out_width, out_height, &rect, pixels.data(), &header);
    return pixels;
}

TEST(ZImageScreen, WithoutDisplayOrWithBadArgumentsAnswersZero) {
    std::vector<std::uint8_t> pixels(ZImage_CalcImageSize(8, 6, 24), 0x5A);
    const ZImageRect rect{0, 0, 8, 6};
    const auto good = Header(8, 6);
    for (const char* display : {static_cast<const char*>(nullptr), ":250"}) {  // no display; no server there
        ScopedEnv env("DISPLAY", display);
        EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), &good), 0u);
    }
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, nullptr, pixels.data(), &good), 0u);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, nullptr, &good), 0u);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), nullptr), 0u);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(0, 6, &rect, pixels.data(), &good), 0u);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(9, 6, &rect, pixels.data(), &good), 0u) << "header width differs";
    auto compressed = good, short_buffer = good, paletted = Header(8, 6, 8);
    compressed.biCompression = 3;
    short_buffer.biSizeImage = 10;
    const auto huge = Header(70000, 70000);
    for (const auto* header : {&compressed, &paletted, &short_buffer}) {
        EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), header), 0u);
    }
    EXPECT_EQ(ZImage_CopyScreenToBitmap(70000, 70000, &rect, pixels.data(), &huge), 0u);
    EXPECT_EQ(pixels, std::vector<std::uint8_t>(pixels.size(), 0x5A));
}

TEST(ZImageScreenXvfb, CopiesScalesBlacksOutWhatIsOffTheScreenAndSurvivesTheServerGoingAway) {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    XvfbServer server;
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ScopedEnv display("DISPLAY", server.display().c_str());
    std::uint32_t result = 0;
    for (const auto& [w, h] : {std::pair{64, 48}, std::pair{32, 24}, std::pair{100, 7}}) {
        const auto pixels = Copy({0, 0, 64, 48}, w, h, 24, false, &result);
        ASSERT_NE(result, 0u) << w << "x" << h;
        const std::size_t stride = ZImage_CalcWidthBytes(w, 24);
        for (int y = 0; y < h; ++y) {
            for (std::size_t i = 0; i < static_cast<std::size_t>(w) * 3; ++i) ASSERT_EQ(pixels[y * stride + i], 255);
        }
    }

    // 8 rows of screen over 8 rows below its bottom edge, in each row order and depth.
    // The last byte of a white pixel: the unused fourth byte is 0, 5-5-5 white is 0x7FFF.
    for (const auto& [bits, top_down, white_last_byte] : {std::tuple{24, false, 255}, std::tuple{24, true, 255},
                                                          std::tuple{32, false, 0}, std::tuple{16, true, 0x7F}}) {
        const auto pixels = Copy({0, 40, 64, 56}, 64, 16, bits, top_down, &result);
        ASSERT_NE(result, 0u) << bits;
        const std::size_t stride = ZImage_CalcWidthBytes(64, bits), pixel_bytes = static_cast<std::size_t>(bits) / 8;
        for (std::size_t row = 0; row < 16; ++row) {
            const bool screen_row = top_down ? row < 8 : row >= 8;
            const std::uint8_t* p = pixels.data() + row * stride + 10 * pixel_bytes;
            const std::pair<int, int> want = screen_row ? std::pair(255, white_last_byte) : std::pair(0, 0);
            EXPECT_EQ(std::pair(int{p[0]}, int{p[pixel_bytes - 1]}), want) << "bits " << bits << " row " << row;
        }
    }
    const auto none = Copy({100, 100, 164, 116}, 64, 16, 24, false, &result);
    EXPECT_NE(result, 0u) << "a rectangle wholly off the screen copies black";
    EXPECT_EQ(none[0], 0);

    server.Stop();
    Copy({0, 0, 8, 8}, 8, 8, 24, false, &result);
    EXPECT_EQ(result, 0u);

    XvfbServer second;
    ASSERT_FALSE(second.display().empty());
    ScopedEnv secondDisplay("DISPLAY", second.display().c_str());
    Copy({0, 0, 8, 8}, 8, 8, 24, false, &result);
    EXPECT_NE(result, 0u) << "a new server is reached with a new connection";
}

}  // namespace
