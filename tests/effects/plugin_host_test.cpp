#include "effects/effect_chain.h"

#include "config_dir_fixture.h"
#include "test_frames.h"
#include "test_support.h"

#include <lumora/plugin.h>
#include <lumora/registry.h>

#include <QWidget>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <tuple>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// A program folder of the test's own with test modules copied in under chosen names.
class PluginHostTest : public test::ConfigDirTest {
protected:
    void TearDown() override {
        chain_.reset();
        ConfigDirTest::TearDown();
    }

    std::string Install(const std::string& target, const std::string& name) {
        const std::string path = folder_.file(name);
        fs::copy_file(LUMORA_EFFECT_TEST_MODULES + target + ".so", path, fs::copy_options::overwrite_existing);
        return path;
    }
    EffectChain& Load() {
        chain_.emplace(folder_.path().string() + "/");
        chain_->LoadEffects();
        return *chain_;
    }
    static bool IsLoaded(const std::string& path) {
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle) ::dlclose(handle);
        return handle != nullptr;
    }

    test::TempDir folder_;
    std::optional<EffectChain> chain_;
};

// Modules load in file-name order, their effects numbered from five, and the host fills in
// each effect's fields (where they lie is fixed by the SDK header's static_asserts). Two
// copies of one module are two modules.
TEST_F(PluginHostTest, ModulesLoadInFileNameOrderAndTheHostFillsInEveryEffect) {
    Install("fx_two_effects", "b_two.so");
    Install("fx_two_effects", "a_two.so");
    fs::create_directory(folder_.file("c_folder.so"));
    test::WriteFileText(folder_.file("notes.txt"), "not a module");
    EffectChain& chain = Load();
    QWidget window;
    chain.SetOwnerWindow(&window);

    ASSERT_EQ(chain.EffectCount(), 8u);
    ASSERT_EQ(chain.plugins().ModuleCount(), 2u);
    for (std::uint32_t m = 0; m < 2; ++m) {
        const PluginModule& module = chain.plugins().Module(m);
        EXPECT_EQ(fs::path(module.path()).filename(), m == 0 ? "a_two.so" : "b_two.so");
        EXPECT_EQ(module.record().moduleHandle, m + 1);
        EXPECT_EQ(module.record().moduleData[0], 0x5A);  // the module's own bytes are left alone
        for (const auto& [index, name, layer] :
             {std::tuple{0, "Test animation", kLayerAnimation}, {1, "Test filter", kLayerFilter}}) {
            const EffectId id = static_cast<EffectId>(5 + 2 * m + index);
            const Effect* effect = chain.FindEffect(id);
            ASSERT_NE(effect, nullptr) << id;
            EXPECT_EQ(std::tuple(std::string(effect->name), effect->id, effect->layer, effect->module,
                                 effect->imagesFolder, effect->ownerWindow),
                      std::tuple(std::string(name), id, layer, module.handle(), chain.imagesFolder().c_str(),
                                 static_cast<void*>(&window)));
        }
    }

    // Loading again gives the same numbers.
    chain.LoadEffects();
    EXPECT_STREQ(chain.FindEffect(7)->name, "Test animation");
    EXPECT_STREQ(chain.FindEffect(8)->name, "Test filter");
}

// Modules without both exports are unloaded again and files that are no shared objects
// passed over; modules that offer no effects stay loaded, unasked, until unloading.
TEST_F(PluginHostTest, WhatIsNotAPluginIsSkippedAndModulesWithoutEffectsAreKept) {
    const std::string onlyAnimation = Install("fx_only_animation", "a.so");
    const std::string onlyInfo = Install("fx_only_info", "b.so");
    test::WriteFileText(folder_.file("b_text.so"), "this is not an ELF file");
    test::WriteFileText(folder_.file("b_empty.so"), "");
    const std::string zero = Install("fx_count_zero", "c_zero.so");
    const std::string negative = Install("fx_count_negative", "d_negative.so");
    Install("fx_two_effects", "e_two.so");
    EffectChain& chain = Load();
    ASSERT_EQ(chain.plugins().ModuleCount(), 3u);
    EXPECT_EQ(chain.EffectCount(), 6u);
    EXPECT_STREQ(chain.FindEffect(5)->name, "Test animation");
    EXPECT_FALSE(IsLoaded(onlyAnimation) || IsLoaded(onlyInfo));
    for (std::size_t i = 0; i < 2; ++i) {
        // A function the test module exports for the tests.
        auto calls =
            reinterpret_cast<int (*)()>(::dlsym(chain.plugins().Module(i).handle(), "TestModule_AnimationCalls"));
        ASSERT_NE(calls, nullptr) << i;
        EXPECT_EQ(calls(), 0) << i;
    }
    EXPECT_TRUE(IsLoaded(zero) && IsLoaded(negative));
    chain.UnloadEffects();
    EXPECT_FALSE(IsLoaded(zero) || IsLoaded(negative));
}

// Null effects are skipped; names and identifiers without their zero are ended inside
// their fields.
TEST_F(PluginHostTest, CarelessModulesDoNotDisturbTheChain) {
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Lumora", "RememberFilterSettings", 1));
    Install("fx_malformed", "malformed.so");
    EffectChain& chain = Load();
    ASSERT_EQ(chain.EffectCount(), 6u);
    for (int id : {5, 6}) {
        Effect* effect = chain.FindEffect(id);
        EXPECT_EQ(std::tuple(std::string(effect->name), std::string(effect->guid)),
                  std::tuple(std::string(63, 'N'), std::string(63, 'G')));
        EXPECT_EQ(chain.ActivateEffect(id), kEffectStarted);
    }
}

// The SDK's example plug-in, built outside this tree by the PluginSdkExampleBuildsAndLoads
// test, which names the module in LUMORA_SDK_EXAMPLE. Skipped when run on its own.
class PluginSdkExample : public PluginHostTest {
protected:
    void SetUp() override {
        PluginHostTest::SetUp();
        const char* module = std::getenv("LUMORA_SDK_EXAMPLE");
        if (!module) GTEST_SKIP() << "run by the PluginSdkExampleBuildsAndLoads test";
        fs::copy_file(module, folder_.file("sliding_bar.so"));
    }

    // Where the bar starts on the bottom row of a black 64 x 8 frame at `time`; -1 for none.
    int BarStart(double time) {
        test::TestFrame frame(64, 8);
        chain_->ApplyEffects(frame.data(), 64, 8, time);
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* p = frame.pixel(x, 0);
            if (p[0] || p[1] || p[2]) return x;
        }
        return -1;
    }
};

// Loading it with RTLD_NOW resolves its calls into the runtime's registry helpers, whose
// behaviour the platform tests and BundledPluginsTest's remembered settings check.
TEST_F(PluginSdkExample, SlidingBarMovesWithStreamTime) {
    Effect* bar = Load().FindEffect(5);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(std::tuple(std::string(bar->name), bar->layer), std::tuple(std::string("Sliding bar"), kLayerAnimation));
    ASSERT_EQ(chain_->ActivateEffect(5), kEffectStarted);
    // Every 4 s across 64 + 5 columns, starting 5 columns left of the picture.
    EXPECT_EQ(std::tuple(BarStart(0.0), BarStart(1.0), BarStart(1.0), BarStart(3.0)), std::tuple(-1, 12, 12, 46));
}

}  // namespace
}  // namespace lumora
