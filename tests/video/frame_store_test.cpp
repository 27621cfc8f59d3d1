#include "video/frame_store.h"
#include "video/recorded_bytes_counter.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace lumora {
namespace {

TEST(FrameStore, TheBlockGrowsToALargerFrameAndIsReusedForASmallerOne) {
    FrameStore store;
    auto lock = store.TryLock();
    ASSERT_TRUE(lock.owns_lock());
    EXPECT_FALSE(store.HasFrame(lock));

    std::vector<unsigned char> small(100, 7), large(300, 9);
    ASSERT_TRUE(store.Reserve(lock, 100));
    store.Store(lock, small.data(), 100);
    EXPECT_EQ(store.Capacity(lock), 100u);

    ASSERT_TRUE(store.Reserve(lock, 300));
    EXPECT_EQ(store.Capacity(lock), 300u);
    for (std::uint32_t i = 0; i < 300; ++i) ASSERT_EQ(store.Pixels(lock)[i], 0) << "zeroed block";
    store.Store(lock, large.data(), 300);

    const unsigned char* block = store.Pixels(lock);
    ASSERT_TRUE(store.Reserve(lock, 100));
    store.Store(lock, small.data(), 100);
    EXPECT_EQ(store.Pixels(lock), block);
    EXPECT_EQ(store.Capacity(lock), 300u);
    EXPECT_EQ(store.Size(lock), 100u);
}

TEST(FrameStore, TheStreamingSideNeverWaitsForTheUserInterface) {
    FrameStore store;
    auto uiLock = store.WaitLock();
    bool streamingGotLock = true;
    std::thread streaming([&] { streamingGotLock = store.TryLock().owns_lock(); });
    streaming.join();
    EXPECT_FALSE(streamingGotLock);
    uiLock.unlock();
    EXPECT_TRUE(store.TryLock().owns_lock());
}

TEST(FrameStore, CopyCurrentCopiesTheFrameOrLeavesTheRecordEmpty) {
    FrameStore store;
    FrameCopy copy;
    copy.size = 99;
    store.CopyCurrent(&copy);
    EXPECT_EQ(copy.pixels, nullptr);
    EXPECT_EQ(copy.size, 0u);

    ZImageBitmapInfoHeader format{};
    format.biWidth = 4;
    format.biHeight = 2;
    store.SetFormat(format);
    std::vector<unsigned char> frame(24);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<unsigned char>(i);
    {
        auto lock = store.TryLock();
        ASSERT_TRUE(store.Reserve(lock, 24));
        store.Store(lock, frame.data(), 24);
    }
    store.CopyCurrent(&copy);
    ASSERT_NE(copy.pixels, nullptr);
    EXPECT_EQ(copy.size, 24u);
    EXPECT_EQ(copy.width, 4);
    EXPECT_EQ(copy.height, 2);
    EXPECT_EQ(std::vector<unsigned char>(copy.pixels.get(), copy.pixels.get() + 24), frame);
}

TEST(RecordedBytesCounter, CountsPast32BitsAndResets) {
    RecordedBytesCounter counter;
    EXPECT_TRUE(counter.TryAdd(3'000'000'000ull));
    EXPECT_TRUE(counter.TryAdd(3'000'000'000ull));
    EXPECT_EQ(counter.Read(), 6'000'000'000ull);
    counter.Reset();
    EXPECT_EQ(counter.Read(), 0u);
}

}  // namespace
}  // namespace lumora
