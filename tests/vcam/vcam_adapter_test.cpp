#include "vcam/vcam_adapter.h"
#include "test_support.h"
#include "vcam/fake_loopback_device.h"
#include "vcam/frame_converter.h"
#include "vcam/loopback_sysfs.h"
#include "vcam/output_device_probe.h"
#include "vcam/process_command_runner.h"
#include "vcam/termination_signal_flag.h"
#include "vcam_test_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <future>
#include <thread>

namespace lumora {
namespace {

using namespace std::chrono_literals;
using test::SolidPacket;

constexpr std::size_t kYuyvFrameBytes = 64 * 48 * 2;

VcamConfig SmallConfig() {
    VcamConfig config;
    config.format = {64, 48, VcamPixelFormat::kYuyv};
    config.repeatWhileStalled = false;  // tests that count frames turn it on themselves
    config.reconnectFirstDelay = 20ms;
    config.reconnectMaxDelay = 80ms;
    return config;
}

bool WritePacket(VcamAdapter& adapter, const std::vector<std::uint8_t>& packet) {
    return adapter.WritePacket(packet.data(), packet.size());
}

std::size_t CountCalls(const std::vector<std::string>& calls, const std::string& prefix) {
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

std::uint32_t CapabilitiesSeenBy(FakeLoopbackDevice& device) {
    auto handle = device.NewHandle();
    EXPECT_EQ(handle->Open(device.path()), 0);
    v4l2_capability capability;
    EXPECT_EQ(handle->QueryCapabilities(&capability), 0);
    return NodeCapabilities(capability);
}

class VcamAdapterTest : public ::testing::TestWithParam<LoopbackVersion> {
protected:
    FakeLoopbackDevice device_{{.version = GetParam()}};

    std::unique_ptr<VcamAdapter> OpenAdapter(VcamConfig config = SmallConfig()) {
        auto adapter = std::make_unique<VcamAdapter>(device_.NewHandle(), config);
        std::string error;
        EXPECT_TRUE(adapter->Open(device_.path(), &error)) << error;
        return adapter;
    }
};

// Every packet of any size is scaled into the format set at open and goes out as one write
// of exactly one frame; bad packets are never written, and after a short write the next
// frame goes out whole.
TEST_P(VcamAdapterTest, OpenSetsTheFormatOnceAndEveryGoodPacketIsOneWholeFrame) {
    auto adapter = OpenAdapter();
    const std::vector<std::string> opened = {"open",        "QUERYCAP", "S_FMT 64x48 YUYV",
                                             "S_PARM 1/30", "STREAMON", "write 6144"};
    EXPECT_EQ(device_.Calls(), opened);
    ASSERT_EQ(device_.FrameCount(), 1u);
    const auto black = device_.Frames()[0].bytes;
    for (std::size_t i = 0; i < black.size(); i += 2) ASSERT_TRUE(black[i] == 16 && black[i + 1] == 128) << i;

    for (auto [w, h] : {std::pair{64, 48}, {33, 71}, {1920, 1080}}) {
        EXPECT_TRUE(WritePacket(*adapter, SolidPacket(w, h, test::kRed))) << w << "x" << h;
    }
    EXPECT_NEAR(device_.Frames().back().bytes[64 * 2 * 24 + 64], test::ExpectedYuv(test::kRed).y, 2);  // the middle
    auto truncated = SolidPacket(8, 8, test::kRed);
    truncated.pop_back();
    EXPECT_FALSE(WritePacket(*adapter, truncated));
    EXPECT_FALSE(adapter->WritePacket(nullptr, 0));
    device_.TruncateWrites(1000);
    EXPECT_FALSE(WritePacket(*adapter, SolidPacket(64, 48, test::kRed)));
    EXPECT_TRUE(WritePacket(*adapter, SolidPacket(64, 48, test::kRed)));

    EXPECT_EQ(std::tuple(CountCalls(device_.Calls(), "S_FMT"), CountCalls(device_.Calls(), "write")),
              std::tuple(1u, 6u));
    // 0.12.7 reports sizeimage rounded up to pages (8192 here); the frame is still 6144.
    const auto frames = device_.Frames();
    ASSERT_EQ(frames.size(), 6u);
    for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].bytes.size(), i == 4 ? 1000 : kYuyvFrameBytes);
    const VcamStats stats = adapter->Stats();
    EXPECT_EQ(std::tuple(stats.framesWritten, stats.badPackets, stats.shortWrites), std::tuple(4u, 2u, 1u));
    EXPECT_TRUE(stats.connected);
    EXPECT_NE(stats.lastError.find("1000 of 6144"), std::string::npos) << stats.lastError;

    FakeLoopbackDevice other(FakeLoopbackDevice::Options{.version = GetParam()});
    VcamConfig config = SmallConfig();
    config.format.pixelFormat = VcamPixelFormat::kI420;
    VcamAdapter i420(other.NewHandle(), config);
    ASSERT_TRUE(i420.Open(other.path()));
    ASSERT_TRUE(WritePacket(i420, SolidPacket(64, 48, test::kBlue)));
    EXPECT_EQ(other.Format().pixelformat, V4L2_PIX_FMT_YUV420);
    const auto frame = other.Frames().back().bytes;
    ASSERT_EQ(frame.size(), 64u * 48 * 3 / 2);
    EXPECT_NEAR(frame[64 * 48 + 100], test::ExpectedYuv(test::kBlue).u, 2);
}

TEST_P(VcamAdapterTest, AFormatLockedByAnEarlierProducerIsKeptAndFedAsItIs) {
    auto first = OpenAdapter();  // locks 64x48 YUYV
    // While streaming the device announces capture only; a second producer must still open it.
    EXPECT_EQ(CapabilitiesSeenBy(device_) & (V4L2_CAP_VIDEO_OUTPUT | V4L2_CAP_VIDEO_CAPTURE), V4L2_CAP_VIDEO_CAPTURE);
    VcamConfig other = SmallConfig();
    other.format = {96, 64, VcamPixelFormat::kYuyv};
    VcamAdapter second(device_.NewHandle(), other);
    std::string error;
    ASSERT_TRUE(second.Open(device_.path(), &error)) << error;

    // 0.12.7 answers "success" with the old format, 0.13 answers EBUSY and G_FMT tells.
    EXPECT_EQ(CountCalls(device_.Calls(), "G_FMT"), GetParam() == LoopbackVersion::k0_13 ? 1u : 0u);
    EXPECT_EQ(std::tuple(device_.Format().width, second.Format()),
              std::tuple(64u, DeviceFrameFormat{64, 48, VcamPixelFormat::kYuyv}));
    ASSERT_TRUE(WritePacket(second, SolidPacket(96, 64, test::kGreen)));
    EXPECT_EQ(device_.Frames().back().bytes.size(), kYuyvFrameBytes);
}

TEST_P(VcamAdapterTest, AFormatWeCannotProduceIsAnErrorNotGarbage) {
    // A module without YUYV falls back to BGR4.
    FakeLoopbackDevice::Options options = FakeLoopbackDevice::Options{.version = GetParam()};
    options.fourccs = {V4L2_PIX_FMT_BGR32, V4L2_PIX_FMT_UYVY};
    FakeLoopbackDevice noYuyv(options);
    VcamAdapter adapter(noYuyv.NewHandle(), SmallConfig());
    std::string error;
    EXPECT_FALSE(adapter.Open(noYuyv.path(), &error));
    EXPECT_NE(error.find("answered 64x48 BGR4 when asked for 64x48 YUYV"), std::string::npos) << error;
    EXPECT_EQ(std::tuple(noYuyv.Streaming(), noYuyv.FrameCount()), std::tuple(false, 0u));
    EXPECT_FALSE(WritePacket(adapter, SolidPacket(8, 8, test::kRed)));

    // Another producer has locked the device to BGR4.
    auto producer = device_.NewHandle();
    ASSERT_EQ(producer->Open(device_.path()), 0);
    v4l2_format bgr4 = MakeOutputFormat({64, 48, VcamPixelFormat::kYuyv});
    bgr4.fmt.pix.pixelformat = V4L2_PIX_FMT_BGR32;
    ASSERT_EQ(producer->SetFormat(&bgr4), 0);
    ASSERT_EQ(producer->StreamOn(), 0);
    VcamAdapter locked(device_.NewHandle(), SmallConfig());
    EXPECT_FALSE(locked.Open(device_.path(), &error));
    EXPECT_NE(error.find("BGR4"), std::string::npos) << error;
    EXPECT_EQ(std::tuple(device_.FrameCount(), device_.OpenHandles()), std::tuple(0u, 1));  // the producer's handle
}

TEST_P(VcamAdapterTest, TheLastFrameIsRepeatedAtTheDeviceRateWhileNoneComes) {
    VcamConfig config = SmallConfig();
    config.repeatWhileStalled = true;
    config.framesPerSecond = 50;
    auto adapter = OpenAdapter(config);
    ASSERT_TRUE(WritePacket(*adapter, SolidPacket(64, 48, test::kGreen)));
    const std::size_t before = device_.FrameCount();
    std::this_thread::sleep_for(400ms);
    const auto frames = device_.Frames();
    const std::size_t repeats = frames.size() - before;
    EXPECT_GE(repeats, 10u);  // 20 at 50 per second; the machine may be busy
    EXPECT_LE(repeats, 22u);
    EXPECT_EQ(frames.back().bytes, frames[before - 1].bytes);
    const auto span = frames.back().time - frames[before].time;
    EXPECT_GE(span / (repeats - 1), 15ms);  // never faster than the device rate
    EXPECT_GE(adapter->Stats().repeats, repeats);
}

TEST_P(VcamAdapterTest, ALostDeviceIsReopenedWithBackOffWithoutBlockingTheWriter) {
    for (int error : {ENODEV, EIO}) {
        SCOPED_TRACE(error);
        FakeLoopbackDevice device(FakeLoopbackDevice::Options{.version = GetParam()});
        VcamAdapter adapter(device.NewHandle(), SmallConfig());
        ASSERT_TRUE(adapter.Open(device.path()));
        const auto lostAt = std::chrono::steady_clock::now();
        device.Detach(error);

        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(WritePacket(adapter, SolidPacket(64, 48, test::kRed)));
        EXPECT_FALSE(WritePacket(adapter, SolidPacket(64, 48, test::kBlue)));  // kept for after the reconnect
        EXPECT_LT(std::chrono::steady_clock::now() - started, 50ms);
        EXPECT_EQ(std::tuple(adapter.Stats().connected, adapter.Stats().deviceLosses), std::tuple(false, 1u));

        std::this_thread::sleep_for(350ms);
        // Attempts after 20, 40, 80, 80, ... ms: doubling, capped. A wait may end late on a
        // busy machine, never early, so the waits are checked from below and the cap loosely.
        auto attempts = device.OpenAttempts();
        attempts.erase(attempts.begin());  // the first open
        ASSERT_GE(attempts.size(), 4u);
        ASSERT_LE(attempts.size(), 8u);
        EXPECT_GE(attempts[0] - lostAt, 15ms);
        EXPECT_GE(attempts[1] - attempts[0], 35ms);
        EXPECT_GE(attempts[2] - attempts[1], 75ms);
        EXPECT_LT(attempts.back() - attempts[attempts.size() - 2], 130ms);

        device.Reattach();
        ASSERT_TRUE(device.WaitForFrames(2, 1000ms));
        EXPECT_EQ(std::tuple(adapter.Stats().connected, adapter.Stats().reconnects, device.Streaming(),
                             CountCalls(device.Calls(), "S_FMT")),
                  std::tuple(true, 1u, true, 2u));
        const auto frame = device.Frames()[1].bytes;  // the last packet, not black
        EXPECT_NEAR(frame[64 * 2 * 24 + 64 + 1], test::ExpectedYuv(test::kBlue).u, 2);
        EXPECT_TRUE(WritePacket(adapter, SolidPacket(64, 48, test::kRed)));
    }
}

TEST_P(VcamAdapterTest, CloseStopsStreamingClosesTheDeviceAndLeavesNoThread) {
    {  // OpenCV's worker threads start at the first conversion and stay
        auto warmUp = OpenAdapter();
        ASSERT_TRUE(WritePacket(*warmUp, SolidPacket(640, 480, test::kRed)));
    }
    const std::size_t baseline = test::ThreadCount();
    VcamConfig config = SmallConfig();
    config.repeatWhileStalled = true;
    auto adapter = OpenAdapter(config);
    EXPECT_GT(test::ThreadCount(), baseline);
    ASSERT_TRUE(WritePacket(*adapter, SolidPacket(64, 48, test::kRed)));
    adapter->Close();
    EXPECT_EQ(std::tuple(test::ThreadCountSettledAt(baseline), device_.OpenHandles()), std::tuple(baseline, 0));
    const auto calls = device_.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(std::vector(calls.end() - 2, calls.end()), (std::vector<std::string>{"STREAMOFF", "close"}));
    const std::size_t frames = device_.FrameCount();
    EXPECT_FALSE(WritePacket(*adapter, SolidPacket(64, 48, test::kRed)));
    std::this_thread::sleep_for(80ms);
    EXPECT_EQ(device_.FrameCount(), frames);
    // The adapter can be opened again, and destruction closes it as well.
    EXPECT_TRUE(adapter->Open(device_.path()));
    adapter.reset();
    EXPECT_EQ(std::tuple(device_.OpenHandles(), test::ThreadCountSettledAt(baseline)), std::tuple(0, baseline));
}

INSTANTIATE_TEST_SUITE_P(Versions, VcamAdapterTest,
                         ::testing::Values(LoopbackVersion::k0_12_7, LoopbackVersion::k0_13),
                         [](const auto& info) { return info.param == LoopbackVersion::k0_13 ? "V0_13" : "V0_12_7"; });

TEST(VcamOutputProbe, OnlyOutputDevicesAndLoopbackDevicesTakeFrames) {
    v4l2_capability webcam{};
    std::strcpy(reinterpret_cast<char*>(webcam.driver), "uvcvideo");
    webcam.capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_DEVICE_CAPS;
    webcam.device_caps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
    EXPECT_FALSE(TakesVideoOutput(webcam));
    v4l2_capability output = webcam;
    output.device_caps = V4L2_CAP_VIDEO_OUTPUT;  // the node's own caps count, not the card's
    EXPECT_TRUE(TakesVideoOutput(output));
    v4l2_capability loopbackWhileCapturing = webcam;
    std::strcpy(reinterpret_cast<char*>(loopbackWhileCapturing.driver), "v4l2 loopback");
    EXPECT_TRUE(TakesVideoOutput(loopbackWhileCapturing));

    test::TempDir dir;
    const std::string file = dir.file("packets");
    test::WriteFileText(file, "x");
    EXPECT_FALSE(IsV4l2OutputDevice(file));
    EXPECT_FALSE(IsV4l2OutputDevice(dir.file("missing")));
    EXPECT_FALSE(IsV4l2OutputDevice("/dev/null"));  // a character device, but no V4L2
}

TEST(VcamSignals, TerminationSignalsOnlyRaiseTheFlagAndTheOldHandlersComeBack) {
    {
        TerminationSignalFlag flag;
        EXPECT_FALSE(flag.Raised());
        std::raise(SIGTERM);
        EXPECT_EQ(std::tuple(flag.Raised(), flag.Signal()), std::tuple(true, SIGTERM));
    }
    struct sigaction current {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
    TerminationSignalFlag again;
    EXPECT_FALSE(again.Raised());
    std::raise(SIGINT);
    EXPECT_EQ(again.Signal(), SIGINT);
}

// Needs a real "Lumora Capture" v4l2loopback device and v4l2src: frames written through the
// adapter must come back out of the capture side in their colours.
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
                           "num-buffers=" + std::to_string(kReadFrames), "!",
                           "video/x-raw,format=YUY2,width=640,height=480", "!", "filesink", "location=" + captured});
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

using test::Bgr;
using test::ExpectedYuv;
using test::MakeFrame;

// Reads the Y, U and V that cover device pixel (x, y) in either layout.
test::Yuv SampleAt(const FrameConverter& converter, int x, int y) {
    const DeviceFrameFormat& f = converter.format();
    const std::uint8_t* d = converter.data();
    if (f.pixelFormat == VcamPixelFormat::kYuyv) {
        const std::uint8_t* pair = d + static_cast<std::size_t>(y) * f.width * 2 + (x & ~1) * 2;
        return {static_cast<double>(pair[(x & 1) * 2]), static_cast<double>(pair[1]), static_cast<double>(pair[3])};
    }
    const std::size_t lumaPlane = static_cast<std::size_t>(f.width) * f.height;
    const std::size_t chroma = static_cast<std::size_t>(y / 2) * (f.width / 2) + x / 2;
    return {static_cast<double>(d[static_cast<std::size_t>(y) * f.width + x]),
            static_cast<double>(d[lumaPlane + chroma]), static_cast<double>(d[lumaPlane + lumaPlane / 4 + chroma])};
}

::testing::AssertionResult Near(const test::Yuv& got, const test::Yuv& want, double tolerance, int x, int y) {
    if (std::abs(got.y - want.y) <= tolerance && std::abs(got.u - want.u) <= tolerance &&
        std::abs(got.v - want.v) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "at (" << x << ", " << y << ") got Y" << got.y << " U" << got.u << " V"
                                         << got.v << ", want Y" << want.y << " U" << want.u << " V" << want.v;
}

bool Convert(FrameConverter& converter, int width, int height, const test::Painter& paint) {
    const auto frame = MakeFrame(width, height, paint);
    return converter.Convert(frame.data(), width, height);
}

class VcamFrameConverter : public ::testing::TestWithParam<VcamPixelFormat> {
protected:
    DeviceFrameFormat Device(int width, int height) const { return {width, height, GetParam()}; }
};

// Red, green, blue and white in BT.601 limited range, black in the bars, and flat colours
// scaled from odd sizes: the cases below.
TEST_P(VcamFrameConverter, EveryQuadrantStaysInPlaceAsItIsAndScaledUp) {
    // Source size, device size, and the picture's left and right edge on the device.
    for (const auto& [width, height, deviceWidth, deviceHeight, pictureLeft, pictureRight] :
         {std::array{64, 48, 64, 48, 0, 64}, {640, 480, 1280, 720, 160, 1120}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        FrameConverter converter(Device(deviceWidth, deviceHeight));
        ASSERT_TRUE(Convert(converter, width, height, [w = width, h = height](int x, int y) {
            if (y < h / 2) return x < w / 2 ? test::kRed : test::kGreen;
            return x < w / 2 ? test::kBlue : test::kWhite;
        }));
        const int inset = (pictureRight - pictureLeft) / 8, left = pictureLeft + inset, right = pictureRight - inset;
        const int top = deviceHeight / 8, bottom = deviceHeight - top;
        EXPECT_TRUE(Near(SampleAt(converter, left, top), ExpectedYuv(test::kRed), 2, left, top));
        EXPECT_TRUE(Near(SampleAt(converter, right, top), ExpectedYuv(test::kGreen), 2, right, top));
        EXPECT_TRUE(Near(SampleAt(converter, left, bottom), ExpectedYuv(test::kBlue), 2, left, bottom));
        EXPECT_TRUE(Near(SampleAt(converter, right, bottom), ExpectedYuv(test::kWhite), 2, right, bottom));
    }
}

TEST_P(VcamFrameConverter, OffShapePicturesAreCentredBetweenBlackBarsAndOldBarsAreRepainted) {
    FrameConverter converter(Device(64, 48));
    const test::Yuv black{16, 128, 128};
    ASSERT_TRUE(Convert(converter, 30, 30, [](int, int) { return test::kWhite; }));  // square: 48x48 at x = 8
    for (int y = 0; y < 48; y += 3) {
        for (int x : {0, 7, 56, 63}) ASSERT_TRUE(Near(SampleAt(converter, x, y), black, 0, x, y));
        for (int x : {8, 32, 55}) ASSERT_TRUE(Near(SampleAt(converter, x, y), ExpectedYuv(test::kWhite), 2, x, y));
    }
    ASSERT_TRUE(Convert(converter, 128, 32, [](int, int) { return test::kRed; }));  // 64x16, rows 16 to 31
    for (int x = 0; x < 64; x += 3) {
        for (int y : {0, 15, 32, 47}) ASSERT_TRUE(Near(SampleAt(converter, x, y), black, 0, x, y));
        for (int y : {16, 24, 31}) ASSERT_TRUE(Near(SampleAt(converter, x, y), ExpectedYuv(test::kRed), 2, x, y));
    }
}

TEST_P(VcamFrameConverter, OddAndTinySourcesConvertAndBadSizesAreRefused) {
    FrameConverter converter(Device(64, 48));
    for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {3, 5}, {641, 479}}) {
        ASSERT_TRUE(Convert(converter, w, h, [](int, int) { return test::kGreen; })) << w << "x" << h;
        EXPECT_TRUE(Near(SampleAt(converter, 32, 24), ExpectedYuv(test::kGreen), 2, 32, 24)) << w << "x" << h;
    }
    const auto frame = MakeFrame(4, 4, [](int, int) { return test::kRed; });
    EXPECT_FALSE(converter.Convert(nullptr, 4, 4));
    EXPECT_FALSE(converter.Convert(frame.data(), 0, 4));
    EXPECT_FALSE(converter.Convert(frame.data(), 4, -4));
}

INSTANTIATE_TEST_SUITE_P(Layouts, VcamFrameConverter, ::testing::Values(VcamPixelFormat::kYuyv, VcamPixelFormat::kI420),
                         [](const auto& info) { return info.param == VcamPixelFormat::kYuyv ? "Yuyv" : "I420"; });

}  // namespace
}  // namespace lumora
