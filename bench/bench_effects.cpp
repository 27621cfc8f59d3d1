// Benchmarks of the built-in effects on a 1280 x 720 frame, each beside memcpy of the
// frame (the floor any pixel pass pays) and, for the zoom, beside enlarging the whole
// frame and cutting the window out ("whole"), which is what the zoom's pixels equal.
#include "ratio_table.h"

#include "effects/color_filter_effect.h"
#include "effects/zoom_effect.h"

#include <lumora/bitmap.h>
#include <lumora/zimage.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

using lumora::Bitmap;
using lumora::bench::RatioTable;

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
const std::string kSize = "1280x720";

std::shared_ptr<Bitmap> NoiseFrame(std::uint32_t seed) {
    std::shared_ptr<Bitmap> frame = Bitmap::Create(kWidth, kHeight);
    std::uint32_t state = seed;
    for (std::size_t i = 0; i < frame->size_bytes(); ++i) {
        state = state * 1664525u + 1013904223u;
        frame->data()[i] = static_cast<std::uint8_t>(state >> 24);
    }
    return frame;
}

void Register(const std::string& group, const std::string& impl, std::function<void()> body) {
    const std::string name = group + "/" + impl + "/" + kSize;
    benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State& state) {
        for (auto _ : state) {
            body();
            benchmark::ClobberMemory();
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                ZImage_CalcImageSize(kWidth, kHeight, 24));
    })->Unit(benchmark::kMicrosecond)->UseRealTime();
}

void RegisterMemcpy(const std::string& group) {
    auto from = NoiseFrame(1);
    auto to = NoiseFrame(2);
    Register(group, "memcpy", [from, to] { std::memcpy(to->data(), from->data(), to->size_bytes()); });
}

// The manual zoom at `factor` / 256 with the window in the middle of the enlarged picture.
void RegisterZoom(const std::string& group, int factor) {
    auto frame = NoiseFrame(3);
    auto zoom = std::make_shared<lumora::ZoomEffect>();
    const int zw = (factor * kWidth) >> 8, zh = (factor * kHeight) >> 8;
    zoom->SetFactor(factor);
    zoom->SetOffset((zw - kWidth) / 2, (zh - kHeight) / 2);
    zoom->Start();
    Register(group, "lumora", [frame, zoom] { zoom->ProcessFrame(frame->data(), kWidth, kHeight, 0.0); });

    auto whole = NoiseFrame(4);
    auto enlarged = std::make_shared<std::vector<std::uint8_t>>(ZImage_CalcImageSize(zw, zh, 24));
    Register(group, "whole", [whole, enlarged, zw, zh] {
        ZImage_Resize(enlarged->data(), zw, zh, whole->data(), kWidth, kHeight);
        ZImage_Composition(whole->data(), kWidth, kHeight, enlarged->data(), zw, zh, -(zw - kWidth) / 2,
                           -(zh - kHeight) / 2);
    });
    RegisterMemcpy(group);
}

void RegisterColorFilter() {
    const std::string group = "ColorFilterEffect";
    auto frame = NoiseFrame(5);
    auto filter = std::make_shared<lumora::ColorFilterEffect>();
    filter->SetLevels(192, 64, 160);
    Register(group, "lumora", [frame, filter] { filter->ProcessFrame(frame->data(), kWidth, kHeight, 0.0); });
    RegisterMemcpy(group);
}

const bool registered = [] {
    RegisterZoom("ZoomEffect_2x", 512);
    RegisterZoom("ZoomEffect_1.5x", 384);
    RegisterColorFilter();
    RatioTable& table = RatioTable::Shared();
    table.SetLimit("ZoomEffect_2x", "memcpy", 4.0);
    table.SetLimit("ColorFilterEffect", "memcpy", 2.0);
    return true;
}();

}  // namespace
