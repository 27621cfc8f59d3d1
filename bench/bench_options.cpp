// Benchmarks of the options window: one step of the colour filter's red slider from the
// keyboard, as the user-interface thread does it (the key, the new levels into the filter,
// the filter switched on, the panel repainted), beside a plain widget of the same size
// being repainted ("update"). The step must stay well under a millisecond, so that a
// slider dragged while video flows never holds up the picture.
#include "ratio_table.h"

#include "effects/all_builtin_effects.h"
#include "effects/effect_chain.h"
#include "options/options_window.h"
#include "platform/program_paths.h"
#include "skins/parvel_slider.h"
#include "skins/skin_manager.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include <memory>

namespace {

using lumora::bench::RatioTable;

// The window and what it works on, made once, on the first run.
struct OptionsScene {
    OptionsScene() : chain(lumora::ProgramFolder(), lumora::CreateAllBuiltinEffects) {
        chain.LoadEffects();
        main.setGeometry(0, 0, 400, 300);
        options = std::make_unique<lumora::OptionsWindow>(chain, main);
        skins.RegisterSkinWindow(options.get());
        skins.LoadAllSkins();
        skins.ApplySkin(0);
        options->UpdateEnabling({lumora::SourceKind::kCaptureDevice, false});
        options->Toggle();
        red = options->findChild<lumora::ParvelSlider*>("red");
        reference.resize(options->size());
        reference.show();
        QApplication::processEvents();
    }
    ~OptionsScene() { chain.UnloadEffects(); }

    lumora::EffectChain chain;
    QWidget main;
    lumora::SkinManager skins;
    std::unique_ptr<lumora::OptionsWindow> options;
    lumora::ParvelSlider* red = nullptr;
    QWidget reference;
};

OptionsScene& Scene() {
    static OptionsScene scene;
    return scene;
}

void SliderStep(benchmark::State& state) {
    OptionsScene& scene = Scene();
    bool right = true;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(scene.red, &key);
        QApplication::processEvents();
        right = !right;
    }
}

void PlainUpdate(benchmark::State& state) {
    OptionsScene& scene = Scene();
    for (auto _ : state) {
        scene.reference.update();
        QApplication::processEvents();
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("OptionsSlider/lumora/red", SliderStep)->Unit(benchmark::kMicrosecond)->UseRealTime();
    benchmark::RegisterBenchmark("OptionsSlider/update/red", PlainUpdate)->Unit(benchmark::kMicrosecond)->UseRealTime();
    RatioTable::Shared().SetLimit("OptionsSlider", "update", 20.0);
    return true;
}();

}  // namespace
