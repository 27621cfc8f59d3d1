// Needs a real "Lumora Capture" v4l2loopback device and v4l2src: frames written through the
// adapter must come back out of the capture side in their colours.
#include "vcam/loopback_sysfs.h"
#include "vcam/process_command_runner.h"
#include "vcam/vcam_adapter.h"
#include "test_support.h"
#include "vcam_test_frames.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace lumora {
namespace {

using namespace std::chrono_literals;

TEST(LoopbackRealDevice, StreamedFramesReadBackWithTheirColours) {
    const auto device = LoopbackSysfs().FindByName(kVirtualCameraName);
    if (!device) GTEST_SKIP() << "no \"Lumora Capture\" v4l2loopback device here (lumora-vcam setup creates one)";
    ProcessCommandRunner runner;
    if (!runner.IsAvailable("gst-launch-1.0")) GTEST_SKIP() << "gst-launch-1.0 is not installed";

    VcamConfig config;
    config.format = {640, 480, VcamPixelFormat::kYuyv};
    std::string error;
    auto adapter = VcamAdapter::OpenDevice(device->node, config, &error);
    if (!adapter) GTEST_SKIP() << "the device cannot be opened here: " << error;

    test::TempDir dir;  // the black frame has made it a capture device: the reader can start
    const std::string captured = dir.file("captured.yuyv");
    constexpr int kReadFrames = 30;
    auto reader = std::async(std::launch::async, [&] {
        return runner.Run({"timeout", "20", "gst-launch-1.0", "-q", "v4l2src", "device=" + device->node,
                           "num-buffers=" + std::to_string(kReadFrames), "!", "video/x-raw,format=YUY2,width=640,height=480",
                           "!", "filesink", "location=" + captured});
    });
    const auto packet = test::SolidPacket(320, 240, test::kGreen);  // scaled up on the way
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(adapter->WritePacket(packet.data(), packet.size())) << adapter->Stats().lastError;
        std::this_thread::sleep_for(33ms);
    }
    const CommandResult result = reader.get();  // the adapter keeps repeating meanwhile
    adapter.reset();
    ASSERT_EQ(result.exitCode, 0) << "v4l2src could not read the device";

    const auto bytes = test::ReadFileBytes(captured);
    const std::size_t frameBytes = 640 * 480 * 2;
    ASSERT_GE(bytes.size(), frameBytes);
    const std::uint8_t* last = bytes.data() + (bytes.size() / frameBytes - 1) * frameBytes;
    const test::Yuv want = test::ExpectedYuv(test::kGreen);
    for (std::size_t pixel : {std::size_t{0}, std::size_t{640 * 240 + 320}, std::size_t{640 * 479 + 638}}) {
        const std::uint8_t* pair = last + (pixel & ~std::size_t{1}) * 2;
        EXPECT_NEAR(pair[0], want.y, 3) << pixel;
        EXPECT_NEAR(pair[1], want.u, 3) << pixel;
        EXPECT_NEAR(pair[3], want.v, 3) << pixel;
    }
}

}  // namespace
}  // namespace lumora
