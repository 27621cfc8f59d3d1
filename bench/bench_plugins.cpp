// Benchmarks of the plug-in effects that ship with Lumora, on a 1280 x 720 frame, each
// beside memcpy of the frame. The modules are loaded from the program folder by the
// plug-in host, as the program loads them, and every effect found in them is measured:
// "Plugin_<name>/lumora" is the effect's ProcessFrame (animations get a new stream time
// every frame, at 30 frames a second), "Plugin_<name>/memcpy" the copy beside it.
#include "ratio_table.h"

#include "effects/plugin_host.h"
#include "platform/program_paths.h"

#include <lumora/effect.h>
#include <lumora/zimage.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using lumora::Effect;
using lumora::bench::RatioTable;

constexpr std::int32_t kWidth = 1280;
constexpr std::int32_t kHeight = 720;
constexpr double kFrameSeconds = 1.0 / 30;
constexpr double kMaxRatio = 10.0;
const char* const kBundledModules[] = {"lumora-animations.so", "lumora-filters.so"};

using Frame = std::vector<std::uint8_t>;

std::shared_ptr<Frame> Noise(std::uint32_t seed) {
    auto frame = std::make_shared<Frame>(ZImage_CalcImageSize(kWidth, kHeight, 24));
    for (std::uint8_t& byte : *frame) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(seed >> 23);
    }
    return frame;
}

// The bundled modules, loaded once and kept until the process ends.
struct BundledModules {
    lumora::PluginHost host;
    std::string imagesFolder = lumora::ProgramFolder() + "images/";
    std::vector<Effect*> effects;

    BundledModules() {
        std::vector<std::pair<Effect*, void*>> offered;
        host.LoadFolder(lumora::ProgramFolder(),
                        [&offered](Effect* effect, void* module) { offered.emplace_back(effect, module); });
        for (const auto& [effect, module] : offered) {
            if (!IsBundled(module)) continue;
            effect->imagesFolder = imagesFolder.c_str();
            effect->module = module;
            effects.push_back(effect);
        }
    }
    bool IsBundled(void* handle) const {
        for (std::size_t i = 0; i < host.ModuleCount(); ++i) {
            const lumora::PluginModule& module = host.Module(i);
            if (module.handle() != handle) continue;
            const std::string file = std::filesystem::path(module.path()).filename().string();
            return std::any_of(std::begin(kBundledModules), std::end(kBundledModules),
                               [&file](const char* name) { return file == name; });
        }
        return false;
    }
};

std::string GroupOf(const Effect& effect) {
    std::string group = std::string("Plugin_") + effect.name;
    std::replace(group.begin(), group.end(), ' ', '_');
    return group;
}

void MeasureEffect(benchmark::State& state, Effect* effect, const std::shared_ptr<Frame>& frame) {
    if (effect->Start() != lumora::kEffectStarted) {
        state.SkipWithError("the effect did not start");
        return;
    }
    double time = 0;
    for (auto _ : state) {
        effect->ProcessFrame(frame->data(), kWidth, kHeight, time);
        time += kFrameSeconds;
        benchmark::ClobberMemory();
    }
    effect->Stop();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frame->size()));
}

void MeasureCopy(benchmark::State& state, const std::shared_ptr<Frame>& from, const std::shared_ptr<Frame>& to) {
    for (auto _ : state) {
        std::memcpy(to->data(), from->data(), to->size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * to->size()));
}

void RegisterPluginEffect(Effect* effect, std::uint32_t seed) {
    const std::string group = GroupOf(*effect);
    const std::string size = "/" + std::to_string(kWidth) + "x" + std::to_string(kHeight);
    benchmark::RegisterBenchmark((group + "/lumora" + size).c_str(), MeasureEffect, effect, Noise(seed))
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((group + "/memcpy" + size).c_str(), MeasureCopy, Noise(seed + 1), Noise(seed + 2))
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    RatioTable::Shared().SetLimit(group, "memcpy", kMaxRatio);
}

const bool registered = [] {
    static BundledModules modules;
    std::uint32_t seed = 100;
    for (Effect* effect : modules.effects) RegisterPluginEffect(effect, seed += 3);
    return true;
}();

}  // namespace
