// The PipeWire camera against a real daemon of the test's own: a pipewiresrc consumer
// reads back what the camera publishes.
#include "pipewire_consumer.h"
#include "private_pipewire.h"
#include "test_support.h"
#include "vcam/pipewire_camera.h"
#include "vcam/pipewire_camera_survey.h"
#include "vcam/vcam_status_command.h"
#include "vcam_test_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <thread>

namespace lumora {
namespace {

using namespace std::chrono_literals;
using test::Bgr;
using test::WaitUntil;

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

// Y of pixel (x, y) of a YUY2 frame, y from the top.
int LumaAt(const test::ConsumedFrame& frame, int x, int y) {
    return frame.bytes[static_cast<std::size_t>(y * frame.width * 2 + x * 2)];
}

class PipeWireCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = test::PrivatePipeWire::Missing(); !missing.empty()) GTEST_SKIP() << missing;
        daemon_ = std::make_unique<test::PrivatePipeWire>();
        std::string why;
        ASSERT_TRUE(daemon_->Running(&why)) << why;
    }

    // A camera that has published its node.
    static std::unique_ptr<PipeWireCamera> Published(const VcamConfig& config) {
        auto camera = std::make_unique<PipeWireCamera>(config);
        std::string error;
        EXPECT_TRUE(camera->Open(&error)) << error;
        EXPECT_TRUE(WaitUntil([&] { return camera->Status().published; }, 3s));
        return camera;
    }

    std::unique_ptr<test::PrivatePipeWire> daemon_;
};

// Writes `packet` every 40 ms until the consumer has a frame more than before; false
// after three seconds.
bool FeedUntilFrame(PipeWireCamera& camera, test::PipeWireConsumer& consumer, const std::vector<std::uint8_t>& packet) {
    const std::size_t before = consumer.Count();
    return WaitUntil(
        [&] {
            camera.WritePacket(packet.data(), packet.size());
            return consumer.WaitForFrames(before + 1, 40ms);
        },
        3s);
}

// `lumora-vcam status` on a machine without the loopback module.
std::string StatusText() {
    test::TempDir noSysfs;
    const LoopbackSysfs sysfs(noSysfs.path().string());
    std::ostringstream out;
    VcamStatusCommand command(
        sysfs, [] { return std::unique_ptr<LoopbackDeviceIo>(); }, noSysfs.path().string(), out,
        [] { return SurveyPipeWireCamera(); });
    command.Run();
    return out.str();
}

void ExpectLuma(int actual, Bgr colour, const char* where) {
    EXPECT_NEAR(actual, test::ExpectedYuv(colour).y, 3) << where;
}

TEST_F(PipeWireCameraTest, ConsumerGetsEachPacketOnceRightWayUpAtTheConfiguredSize) {
    const auto published = Published(SmallConfig(false));
    ASSERT_FALSE(HasFailure());
    PipeWireCamera& camera = *published;
    {
        test::PipeWireConsumer consumer;
        ASSERT_TRUE(WaitUntil([&] { return camera.Consumers() == 1; }, 5s));
        ASSERT_TRUE(FeedUntilFrame(camera, consumer, test::MakePacket(kWidth, kHeight, &Quadrants)));
        const test::ConsumedFrame first = consumer.Frames().back();
        ASSERT_EQ(std::tuple(first.format, first.width, first.height, first.bytes.size()),
                  std::tuple("YUY2", kWidth, kHeight, std::size_t{kWidth * kHeight * 2}));
        ExpectLuma(LumaAt(first, kWidth / 4, kHeight / 4), test::kRed, "top left");
        ExpectLuma(LumaAt(first, 3 * kWidth / 4, kHeight / 4), test::kGreen, "top right");
        ExpectLuma(LumaAt(first, kWidth / 4, 3 * kHeight / 4), test::kBlue, "bottom left");
        ExpectLuma(LumaAt(first, 3 * kWidth / 4, 3 * kHeight / 4), test::kWhite, "bottom right");

        // Without keep-alive every packet is one frame, in order: none lost, none doubled.
        // (The feeding above may have a packet more on its way.)
        std::this_thread::sleep_for(150ms);
        const std::size_t before = consumer.Count();
        const std::vector<std::uint8_t> levels = {40, 80, 120, 160, 200};
        for (const std::uint8_t level : levels) {
            const auto packet = test::MakePacket(kWidth, kHeight, [level](int, int) {
                return Bgr{level, level, level};
            });
            ASSERT_TRUE(camera.WritePacket(packet.data(), packet.size()));
            std::this_thread::sleep_for(60ms);
        }
        ASSERT_TRUE(consumer.WaitForFrames(before + levels.size(), 2s));
        std::this_thread::sleep_for(200ms);
        const auto frames = consumer.Frames();
        ASSERT_EQ(frames.size(), before + levels.size());
        for (std::size_t i = 0; i < levels.size(); ++i) {
            ExpectLuma(LumaAt(frames[before + i], kWidth / 2, kHeight / 2), Bgr{levels[i], levels[i], levels[i]},
                       "grey");
        }
        const PipeWireCameraStatus status = camera.Status();
        ASSERT_TRUE(status.format.has_value());
        EXPECT_EQ(std::tuple(status.published, status.consumers, status.format->Describe()),
                  std::tuple(true, 1, "320x240 YUY2"));
        // lumora-vcam status sees the same from outside.
        const std::string report = StatusText();
        for (const char* said : {"\"Lumora Capture\" is published", "320x240 YUY2 at 30/1", "Consumers: 1"})
            EXPECT_NE(report.find(said), std::string::npos) << report;
    }
    EXPECT_TRUE(WaitUntil([&] { return camera.Consumers() == 0; }, 3s));
    camera.Close();
    EXPECT_NE(StatusText().find("is not published"), std::string::npos);
}

// Where a layout other than YUY2 keeps the red quadrant's values, and what they must be.
struct Sample {
    const char* format;
    // Y and chroma (or B, G, R for BGRx) inside the top-left quadrant.
    std::function<std::vector<int>(const test::ConsumedFrame&)> read;
    std::vector<double> expected;
};

TEST_F(PipeWireCameraTest, OtherLayoutsCarryTheSamePicture) {
    constexpr int x = kWidth / 4, y = kHeight / 4;  // inside the red quadrant
    const std::size_t luma = std::size_t{kWidth} * kHeight;
    const test::Yuv red = test::ExpectedYuv(test::kRed);
    const std::vector<Sample> samples = {
        {"I420",
         [&](const test::ConsumedFrame& f) {
             return std::vector<int>{f.bytes[y * kWidth + x], f.bytes[luma + luma / 4 + (y / 2) * (kWidth / 2) + x / 2]};
         },
         {red.y, red.v}},
        {"NV12",
         [&](const test::ConsumedFrame& f) {
             const std::size_t uv = luma + (y / 2) * kWidth + (x / 2) * 2;
             return std::vector<int>{f.bytes[y * kWidth + x], f.bytes[uv], f.bytes[uv + 1]};
         },
         {red.y, red.u, red.v}},
        {"BGRx",
         [&](const test::ConsumedFrame& f) {
             const std::size_t at = (std::size_t{y} * kWidth + x) * 4;
             return std::vector<int>{f.bytes[at], f.bytes[at + 1], f.bytes[at + 2]};
         },
         {0, 0, 255}},
    };
    const auto published = Published(SmallConfig(true));
    ASSERT_FALSE(HasFailure());
    PipeWireCamera& camera = *published;
    for (const Sample& sample : samples) {
        test::PipeWireConsumer consumer(sample.format);
        ASSERT_TRUE(FeedUntilFrame(camera, consumer, test::MakePacket(kWidth, kHeight, &Quadrants))) << sample.format;
        // A frame made before the format changed may still be under way: judge the last.
        ASSERT_TRUE(FeedUntilFrame(camera, consumer, test::MakePacket(kWidth, kHeight, &Quadrants))) << sample.format;
        const test::ConsumedFrame frame = consumer.Frames().back();
        ASSERT_EQ(frame.format, sample.format);
        ASSERT_GE(frame.bytes.size(), camera.Status().format->FrameBytes());
        const std::vector<int> values = sample.read(frame);
        for (std::size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(values[i], sample.expected[i], 6) << sample.format << " " << i;
    }
}

TEST_F(PipeWireCameraTest, RepeatsWhilePacketsStopAndPublishesAgainAfterTheDaemonRestarts) {
    const VcamConfig config = SmallConfig(true);
    const auto published = Published(config);
    ASSERT_FALSE(HasFailure());
    PipeWireCamera& camera = *published;
    const auto packet = test::MakePacket(kWidth, kHeight, &Quadrants);
    {
        test::PipeWireConsumer consumer;
        ASSERT_TRUE(FeedUntilFrame(camera, consumer, packet));
        const std::size_t before = consumer.Count();
        std::this_thread::sleep_for(500ms);
        const auto frames = consumer.Frames();
        EXPECT_GE(frames.size() - before, 10u) << "keep-alive frames in half a second at 30 fps";
        ExpectLuma(LumaAt(frames.back(), kWidth / 4, kHeight / 4), test::kRed, "repeated frame");
    }
    // The daemon dies: writes go on, each well within a frame period.
    daemon_->KillDaemon();
    auto slowest = std::chrono::steady_clock::duration::zero();
    auto writeFor = [&](std::chrono::milliseconds span) {
        const auto end = std::chrono::steady_clock::now() + span;
        while (std::chrono::steady_clock::now() < end) {
            const auto start = std::chrono::steady_clock::now();
            camera.WritePacket(packet.data(), packet.size());
            slowest = std::max(slowest, std::chrono::steady_clock::now() - start);
            std::this_thread::sleep_for(33ms);
        }
    };
    writeFor(400ms);
    EXPECT_FALSE(camera.Status().published);
    daemon_->Restart();
    const auto restarted = std::chrono::steady_clock::now();
    std::string why;
    ASSERT_TRUE(daemon_->Running(&why)) << why;
    while (!camera.Status().published && std::chrono::steady_clock::now() - restarted < 2s) writeFor(33ms);
    ASSERT_TRUE(camera.Status().published) << "not published again within 2 s of the restart";
    test::PipeWireConsumer consumer;
    while (consumer.Count() == 0 && std::chrono::steady_clock::now() - restarted < 2s) writeFor(33ms);
    EXPECT_GT(consumer.Count(), 0u) << "no frame within 2 s of the restart";
    EXPECT_LT(slowest, config.FramePeriod()) << "a write waited";
    EXPECT_GE(camera.Status().losses, 1u);
    EXPECT_GE(camera.Status().reconnects, 1u);
}

}  // namespace
}  // namespace lumora
