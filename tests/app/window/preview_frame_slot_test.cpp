#include "app/window/preview_frame_slot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace lumora {
namespace {

// A frame of `width` x `height` whose every byte is `value`, rows `pad` bytes longer.
struct Frame {
    Frame(int width, int height, unsigned char value, std::size_t pad = 0)
            : stride(static_cast<std::size_t>(width) * 3 + pad), bytes(stride * height, value) {
        view = {bytes.data(), width, height, stride, 0.0};
    }
    std::size_t stride;
    std::vector<unsigned char> bytes;
    PreviewFrame view;
};

bool Uniform(const QImage& image) {
    QImage flat(image.size(), image.format());
    flat.fill(QColor::fromRgb(image.pixel(0, 0)));
    return image == flat;
}

TEST(PreviewFrameSlot, CopiesRowsAndTellsOncePerTake) {
    PreviewFrameSlot slot;
    QImage shown;
    EXPECT_FALSE(slot.Take(shown));

    Frame frame(5, 3, 0, 3);  // rows padded like GStreamer's BGR
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 15; ++x) frame.bytes[y * frame.stride + x] = static_cast<unsigned char>(y * 16 + x);
    }
    EXPECT_TRUE(slot.Put(frame.view));
    EXPECT_FALSE(slot.Put(frame.view));  // an update is pending already
    ASSERT_TRUE(slot.Take(shown));
    ASSERT_EQ(shown.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {  // blue, green, red in that order
            const int b = y * 16 + x * 3;
            ASSERT_EQ(shown.pixel(x, y), qRgb(b + 2, b + 1, b)) << x << "," << y;
        }
    }
    EXPECT_FALSE(slot.Take(shown));              // nothing new
    EXPECT_TRUE(slot.Put(Frame(2, 2, 7).view));  // after a Take the next frame tells again
    EXPECT_EQ(slot.FramesPut(), 3u);

    // Frames it cannot read are passed over, and a hidden video forgets what waits.
    PreviewFrame shortRows = frame.view;
    shortRows.stride = 14;
    EXPECT_FALSE(slot.Put(shortRows));
    slot.Clear();
    EXPECT_FALSE(slot.Take(shown));
}

TEST(PreviewFrameSlot, EveryTakenPictureIsOneWholeFrame) {
    PreviewFrameSlot slot;
    std::atomic<bool> done{false};
    std::thread streaming([&] {
        for (int i = 0; i < 2000; ++i) {
            Frame frame(64, 48, static_cast<unsigned char>(i));
            slot.Put(frame.view);
        }
        done = true;
    });
    QImage shown;
    int taken = 0;
    bool torn = false;
    while (!done) {
        if (slot.Take(shown)) {
            ++taken;
            torn = torn || !Uniform(shown);
        }
    }
    streaming.join();
    if (slot.Take(shown)) ++taken;
    EXPECT_FALSE(torn);
    EXPECT_GT(taken, 0);
    EXPECT_EQ(qBlue(shown.pixel(0, 0)), 1999 % 256);  // the last frame wins
}

}  // namespace
}  // namespace lumora
