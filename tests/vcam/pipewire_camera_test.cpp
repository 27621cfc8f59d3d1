// The PipeWire camera against a real daemon of the test's own: a pipewiresrc consumer
// reads back what the camera publishes.
#include "pipewire_consumer.h"
#include "private_pipewire.h"
#include "vcam/pipewire_camera.h"
#include "vcam_test_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace lumora {
namespace {

using namespace std::chrono_literals;
using test::Bgr;

constexpr int kWidth = 320;
constexpr int kHeight = 240;

VcamConfig SmallConfig(bool repeat) {
    VcamConfig config;
    config.format.width = kWidth;
    config.format.height = kHeight;
    config.framesPerSecond = 30;
    config.repeatWhileStalled = repeat;
    return config;
}

// Quadrants, so a picture upside down or mirrored shows: red | green over blue | white.
Bgr Quadrants(int x, int y) {
    if (y < kHeight / 2) return x < kWidth / 2 ? test::kRed : test::kGreen;
    return x < kWidth / 2 ? test::kBlue : test::kWhite;
}

// The grey of the picture, so each packet can be told apart.
[[maybe_unused]] std::vector<std::uint8_t> GreyPacket(std::uint8_t level) {
    return test::MakePacket(kWidth, kHeight, [level](int, int) { return Bgr{level, level, level}; });
}

// Y of pixel (x, y) of a YUY2 frame, y from the top.
[[maybe_unused]] int LumaAt(const test::ConsumedFrame& frame, int x, int y) {
    return frame.bytes[static_cast<std::size_t>(y * frame.width * 2 + x * 2)];
}

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

class PipeWireCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::PrivatePipeWire::Missing(); !missing.empty()) GTEST_SKIP() << missing;
        daemon_ = std::make_unique<test::PrivatePipeWire>();
        std::string why;
        ASSERT_TRUE(daemon_->Running(&why)) << why;
    }

    std::unique_ptr<test::PrivatePipeWire> daemon_;
};

TEST_F(PipeWireCameraTest, SmokeFramesReachAConsumer) {
    PipeWireCamera camera(SmallConfig(true));
    std::string error;
    ASSERT_TRUE(camera.Open(&error)) << error;
    test::PipeWireConsumer consumer;
    ASSERT_TRUE(WaitUntil([&] { return camera.Consumers() == 1; }, 5s));
    const auto packet = test::MakePacket(kWidth, kHeight, &Quadrants);
    for (int i = 0; i < 10; ++i) {
        camera.WritePacket(packet.data(), packet.size());
        std::this_thread::sleep_for(33ms);
    }
    ASSERT_TRUE(consumer.WaitForFrames(5, 3s)) << consumer.Count();
    const auto frames = consumer.Frames();
    EXPECT_EQ(frames.back().width, kWidth);
    EXPECT_EQ(frames.back().format, "YUY2");
}

}  // namespace
}  // namespace lumora
