#include "video/frame_packet.h"
#include "video/frame_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace lumora {
namespace {

std::uint32_t U32At(const std::vector<unsigned char>& bytes, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

ZImageBitmapInfoHeader Format(std::int32_t width, std::int32_t height) {
    ZImageBitmapInfoHeader format{};
    format.biSize = 40;
    format.biWidth = width;
    format.biHeight = height;
    format.biPlanes = 1;
    format.biBitCount = 24;
    format.biSizeImage = ZImage_CalcImageSize(width, height, 24);
    return format;
}

// Puts a frame of the given size, filled with `value`, into the store.
void PutFrame(FrameStore& store, std::int32_t width, std::int32_t height, unsigned char value) {
    store.SetFormat(Format(width, height));
    const std::uint32_t size = ZImage_CalcImageSize(width, height, 24);
    std::vector<unsigned char> frame(size, value);
    auto lock = store.TryLock();
    ASSERT_TRUE(lock.owns_lock());
    ASSERT_TRUE(store.Reserve(lock, size));
    store.Store(lock, frame.data(), size);
}

TEST(FramePacket, RowsOfOddWidthsArePaddedToFourBytes) {
    FrameStore store;
    PutFrame(store, 641, 3, 1);
    std::vector<unsigned char> packet;
    ASSERT_TRUE(store.BuildPacket(&packet));
    ASSERT_EQ(packet.size(), 40u + 1924u * 3u);
    FramePacket::FillLinkFields(packet.data(), 1924u * 3u);
    EXPECT_EQ(U32At(packet, 20), 641u);
    EXPECT_TRUE(FramePacket::Parse(packet.data(), packet.size()));
}

TEST(FramePacket, TheParserRefusesEveryMalformedPacket) {
    std::vector<unsigned char> good(40 + ZImage_CalcImageSize(4, 2, 24), 0);
    FramePacket::FillHeader(good.data(), 4, 2, ZImage_CalcImageSize(4, 2, 24));
    ASSERT_TRUE(FramePacket::Parse(good.data(), good.size()));

    auto put = [](std::vector<unsigned char>& p, std::size_t at, std::uint32_t v) {
        std::memcpy(p.data() + at, &v, 4);
    };
    const std::vector<std::pair<const char*, std::function<void(std::vector<unsigned char>&)>>>
        corruptions = {
            {"magic", [](auto& p) { p[3] = 'X'; }},
            {"marker", [&](auto& p) { put(p, 12, 0xFFFFFFFE); }},
            {"reserved 8", [&](auto& p) { put(p, 8, 1); }},
            {"reserved 16", [&](auto& p) { put(p, 16, 1); }},
            {"reserved 28", [&](auto& p) { put(p, 28, 1); }},
            {"reserved 36", [&](auto& p) { put(p, 36, 1); }},
            {"bit count", [&](auto& p) { put(p, 32, 32); }},
            {"zero width", [&](auto& p) { put(p, 20, 0); }},
            {"negative height", [&](auto& p) { put(p, 24, static_cast<std::uint32_t>(-2)); }},
            {"payload too small", [&](auto& p) { put(p, 4, 23); }},
            {"payload size of another frame", [&](auto& p) { put(p, 20, 8); }},
            {"huge frame", [&](auto& p) { put(p, 20, 0x7FFFFFFF); put(p, 24, 0x7FFFFFFF); }},
            {"truncated", [](auto& p) { p.pop_back(); }},
            {"trailing byte", [](auto& p) { p.push_back(0); }},
            {"header only", [](auto& p) { p.resize(40); }},
            {"short header", [](auto& p) { p.resize(39); }},
        };
    for (const auto& [what, corrupt] : corruptions) {
        std::vector<unsigned char> bad = good;
        corrupt(bad);
        std::string error;
        EXPECT_FALSE(FramePacket::Parse(bad.data(), bad.size(), &error)) << what;
        EXPECT_FALSE(error.empty()) << what;
    }
    EXPECT_FALSE(FramePacket::Parse(nullptr, 100));
}

}  // namespace
}  // namespace lumora
