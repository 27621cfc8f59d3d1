// Benchmarks of the PipeWire camera, against a PipeWire daemon of the benchmark's own
// (started as the tests start theirs; without pipewire, wireplumber and dbus-run-session
// the group is left out).
//
// Vcam_PipeWireWrite: the cost of one WritePacket on the calling thread (the user-interface
// thread in the program) for a 640x480 frame into a 1280x720 YUYV camera, against the
// loopback adapter's WritePacket of the same packets into a device that takes every write
// at once (the conversion is the adapter's cost on that thread). Target: at most 1.2x.
//
// Vcam_PipeWireLatency: the median time from WritePacket (as the program writes right
// after the grabber callback's frame-ready message) to a pipewiresrc consumer receiving that
// frame, over 300 frames at 30 per second, against two frame periods. Target: at most 1x.
#include "ratio_table.h"

#include "frames/frame_packet.h"
#include "pipewire_consumer.h"
#include "private_pipewire.h"
#include "vcam/pipewire_camera.h"
#include "vcam/vcam_adapter.h"

#include <lumora/video_frame_layout.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using lumora::bench::RatioTable;

constexpr int kSourceWidth = 640;
constexpr int kSourceHeight = 480;
constexpr int kLatencyFrames = 300;

// A v4l2loopback device that takes every frame at once and keeps none.
class DiscardingDevice final : public lumora::LoopbackDeviceIo {
public:
    int Open(const std::string&) override {
        open_ = true;
        return 0;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    int QueryCapabilities(v4l2_capability* capability) override {
        std::memset(capability, 0, sizeof *capability);
        std::strcpy(reinterpret_cast<char*>(capability->driver), "v4l2 loopback");
        capability->capabilities = V4L2_CAP_VIDEO_OUTPUT | V4L2_CAP_DEVICE_CAPS;
        capability->device_caps = V4L2_CAP_VIDEO_OUTPUT;
        return 0;
    }
    int GetFormat(v4l2_format* format) override {
        *format = format_;
        return 0;
    }
    int SetFormat(v4l2_format* format) override {
        format_ = *format;
        return 0;
    }
    int SetFrameInterval(unsigned, unsigned) override { return 0; }
    int StreamOn() override { return 0; }
    int StreamOff() override { return 0; }
    long Write(const void*, std::size_t size) override { return static_cast<long>(size); }

private:
    bool open_ = false;
    v4l2_format format_{};
};

// A packet of a grey picture whose level tells frames apart.
std::vector<std::uint8_t> GreyPacket(std::uint8_t level) {
    const std::size_t bytes = lumora::VideoFrameLayout::Of(kSourceWidth, kSourceHeight).size_bytes();
    std::vector<std::uint8_t> packet(lumora::FramePacket::kHeaderSize + bytes, level);
    lumora::FramePacket::FillHeader(packet.data(), kSourceWidth, kSourceHeight, static_cast<std::uint32_t>(bytes));
    lumora::FramePacket::FillLinkFields(packet.data(), static_cast<std::uint32_t>(bytes));
    return packet;
}

lumora::VcamConfig Config() {
    lumora::VcamConfig config;
    config.repeatWhileStalled = false;  // only the frames written
    return config;
}

// The daemon, started once for every benchmark of the file.
lumora::test::PrivatePipeWire& Daemon() {
    static lumora::test::PrivatePipeWire daemon;
    return daemon;
}

void PipeWireWrite(benchmark::State& state) {
    lumora::PipeWireCamera camera(Config());
    std::string error;
    if (!Daemon().Running(&error) || !camera.Open(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::vector<std::uint8_t> packet = GreyPacket(128);
    for (auto _ : state) {
        camera.WritePacket(packet.data(), packet.size());
        benchmark::ClobberMemory();
    }
}

void LoopbackWrite(benchmark::State& state) {
    lumora::VcamAdapter adapter(std::make_unique<DiscardingDevice>(), Config());
    std::string error;
    if (!adapter.Open("/dev/video9", &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::vector<std::uint8_t> packet = GreyPacket(128);
    for (auto _ : state) {
        adapter.WritePacket(packet.data(), packet.size());
        benchmark::ClobberMemory();
    }
}

// Y of the centre of a received YUY2 frame: the grey level it was written with, in video range.
int CentreLevel(const lumora::test::ConsumedFrame& frame) {
    const std::size_t at = (static_cast<std::size_t>(frame.height / 2) * frame.width + frame.width / 2) * 2;
    return at < frame.bytes.size() ? (frame.bytes[at] - 16) * 255 / 219 : -1;
}

// Writes kLatencyFrames distinct frames at 30 per second; the median delay to the consumer.
std::chrono::duration<double> MedianLatency(lumora::PipeWireCamera& camera, lumora::test::PipeWireConsumer& consumer) {
    std::vector<std::chrono::steady_clock::time_point> written;
    auto next = std::chrono::steady_clock::now();
    for (int i = 0; i < kLatencyFrames; ++i) {
        const auto packet = GreyPacket(static_cast<std::uint8_t>(32 + (i % 2) * 160));
        written.push_back(std::chrono::steady_clock::now());
        camera.WritePacket(packet.data(), packet.size());
        next += 33333us;
        std::this_thread::sleep_until(next);
    }
    consumer.WaitForFrames(consumer.Count() + 1, 500ms);
    std::vector<double> delays;
    const auto frames = consumer.Frames();
    // Frames alternate dark and light: frame i is the first received after written[i] with its level.
    std::size_t received = 0;
    for (int i = 0; i < kLatencyFrames; ++i) {
        const bool light = i % 2 == 1;
        while (received < frames.size() &&
               (frames[received].arrived < written[i] || (CentreLevel(frames[received]) > 112) != light)) {
            ++received;
        }
        if (received == frames.size()) break;
        delays.push_back(std::chrono::duration<double>(frames[received].arrived - written[i]).count());
    }
    if (delays.empty()) return std::chrono::seconds(10);
    std::nth_element(delays.begin(), delays.begin() + delays.size() / 2, delays.end());
    return std::chrono::duration<double>(delays[delays.size() / 2]);
}

void PipeWireLatency(benchmark::State& state) {
    lumora::PipeWireCamera camera(Config());
    std::string error;
    if (!Daemon().Running(&error) || !camera.Open(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    lumora::test::PipeWireConsumer consumer;
    const auto warmUp = GreyPacket(32);
    for (int i = 0; i < 100 && consumer.Count() == 0; ++i) {
        camera.WritePacket(warmUp.data(), warmUp.size());
        std::this_thread::sleep_for(40ms);
    }
    for (auto _ : state) state.SetIterationTime(MedianLatency(camera, consumer).count());
}

void TwoFramePeriods(benchmark::State& state) {
    for (auto _ : state) state.SetIterationTime(2.0 / 30.0);
}

const bool registered = [] {
    if (!lumora::test::PrivatePipeWire::Missing().empty()) return false;
    benchmark::RegisterBenchmark("Vcam_PipeWireWrite/lumora/640x480", &PipeWireWrite)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Vcam_PipeWireWrite/loopback/640x480", &LoopbackWrite)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Vcam_PipeWireLatency/lumora/30fps", &PipeWireLatency)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark("Vcam_PipeWireLatency/twoFramePeriods/30fps", &TwoFramePeriods)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
    RatioTable::Shared().SetLimit("Vcam_PipeWireWrite", "loopback", 1.2);
    RatioTable::Shared().SetLimit("Vcam_PipeWireLatency", "twoFramePeriods", 1.0, RatioTable::LimitOn::kWallClock);
    return true;
}();

}  // namespace
