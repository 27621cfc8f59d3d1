// Benchmarks of the virtual camera's per-frame work: one Lumora frame (bottom-up BGR)
// turned the right way up, scaled and letterboxed to 1280x720 and converted to YUYV, as the
// adapter does before every write. The reference is OpenCV's BGR to I420 conversion of a
// frame of the output size, a colour conversion of the same amount of output. The target,
// at most 1.5 times the reference, is for the 640x480 source (group Vcam_FrameToDevice);
// the other groups show other source sizes and the I420 layout.
#include "ratio_table.h"

#include "vcam/frame_converter.h"

#include <lumora/video_frame_layout.h>

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using lumora::bench::RatioTable;

constexpr int kOutputWidth = 1280;
constexpr int kOutputHeight = 720;

struct SourceSize {
    int width;
    int height;
};

using Sources = std::vector<SourceSize>;

std::string SizeName(const SourceSize& s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

std::vector<std::uint8_t> NoiseFrame(int width, int height) {
    std::vector<std::uint8_t> frame(lumora::VideoFrameLayout::Of(width, height).size_bytes());
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : frame) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return frame;
}

void RegisterLumora(const std::string& group, lumora::VcamPixelFormat layout, const Sources& sources) {
    for (const SourceSize& source : sources) {
        const std::string name = group + "/lumora/" + SizeName(source);
        benchmark::RegisterBenchmark(name.c_str(), [source, layout](benchmark::State& state) {
            const std::vector<std::uint8_t> frame = NoiseFrame(source.width, source.height);
            lumora::FrameConverter converter({kOutputWidth, kOutputHeight, layout});
            for (auto _ : state) {
                converter.Convert(frame.data(), source.width, source.height);
                benchmark::DoNotOptimize(converter.data());
                benchmark::ClobberMemory();
            }
        })->Unit(benchmark::kMicrosecond)->UseRealTime();
    }
}

// The reference does not depend on the source size; it is registered under each so every
// line of the table has it.
void RegisterReference(const std::string& group, const Sources& sources) {
    for (const SourceSize& source : sources) {
        const std::string name = group + "/cvtColorI420/" + SizeName(source);
        benchmark::RegisterBenchmark(name.c_str(), [](benchmark::State& state) {
            const std::vector<std::uint8_t> pixels = NoiseFrame(kOutputWidth, kOutputHeight);
            const cv::Mat bgr(kOutputHeight, kOutputWidth, CV_8UC3, const_cast<std::uint8_t*>(pixels.data()));
            cv::Mat i420;
            for (auto _ : state) {
                cv::cvtColor(bgr, i420, cv::COLOR_BGR2YUV_I420);
                benchmark::DoNotOptimize(i420.data);
                benchmark::ClobberMemory();
            }
        })->Unit(benchmark::kMicrosecond)->UseRealTime();
    }
}

void RegisterGroup(const std::string& group, lumora::VcamPixelFormat layout, const Sources& sources) {
    RegisterLumora(group, layout, sources);
    RegisterReference(group, sources);
}

const bool registered = [] {
    RegisterGroup("Vcam_FrameToDevice", lumora::VcamPixelFormat::kYuyv, {{640, 480}});
    RegisterGroup("Vcam_OtherSizesToDevice", lumora::VcamPixelFormat::kYuyv, {{1280, 720}, {1920, 1080}});
    RegisterGroup("Vcam_FrameToDeviceI420", lumora::VcamPixelFormat::kI420, {{640, 480}, {1280, 720}, {1920, 1080}});
    RatioTable::Shared().SetLimit("Vcam_FrameToDevice", "cvtColorI420", 1.5);
    return true;
}();

}  // namespace
