// The store's blocks: a packet lent to the user-interface side stays as it was while the
// streaming side goes on storing frames, and is only recycled by the next BuildPacket.
#include "frames/frame_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace lumora {
namespace {

void StoreFrame(FrameStore& store, unsigned char value, std::uint32_t length) {
    const FrameStore::Lock lock = store.TryLock();
    ASSERT_TRUE(lock.owns_lock());
    unsigned char* block = store.BeginFrame(lock, length);
    ASSERT_NE(block, nullptr);
    std::memset(block, value, length);
    store.CommitFrame(lock);
}

TEST(FrameStore, ALentPacketSurvivesLaterFramesAndEachFrameIsSentWithoutACopy) {
    FrameStore store;
    ZImageBitmapInfoHeader format{};
    format.biWidth = 4;
    format.biHeight = 2;
    store.SetFormat(format);

    StoreFrame(store, 0x11, 24);
    const FramePacketView first = store.BuildPacket();
    ASSERT_EQ(first.size, 40u + 24u);
    std::int32_t width = 0;
    std::memcpy(&width, first.data + 20, 4);
    EXPECT_EQ(width, 4) << "the frame's header fields are filled";
    // Frames keep coming while the packet is being written: it stays as it was.
    StoreFrame(store, 0x22, 24);
    StoreFrame(store, 0x33, 24);
    EXPECT_EQ(std::vector<unsigned char>(first.data + 40, first.data + 64), std::vector<unsigned char>(24, 0x11));
    EXPECT_EQ(store.Pixels(store.WaitLock())[0], 0x33) << "the current frame is the newest";

    const FramePacketView second = store.BuildPacket();
    EXPECT_EQ(std::tuple(second.data[40], second.repeat), std::tuple(0x33, false));
    const FramePacketView again = store.BuildPacket();
    EXPECT_EQ(std::tuple(again.data, again.repeat), std::tuple(second.data, true)) << "no newer frame: the same packet";
    EXPECT_EQ(store.Overwritten(store.WaitLock()), 1u) << "0x22 never went out";

    // A frame begun but not committed changes nothing.
    {
        const FrameStore::Lock lock = store.TryLock();
        std::memset(store.BeginFrame(lock, 24), 0x44, 24);
    }
    FrameCopy copy;
    store.CopyCurrent(&copy);
    ASSERT_NE(copy.pixels, nullptr);
    EXPECT_EQ(std::tuple(copy.pixels[0], copy.size, copy.width, copy.height), std::tuple(0x33, 24u, 4, 2));
}

}  // namespace
}  // namespace lumora
