// The bundled plug-ins as the program sees them: an effect chain over this build's
// program folder, with stand-ins for the four built-in effects, and a settings folder of
// the test's own.
#pragma once

#include "effects/effect_chain.h"

#include "config_dir_fixture.h"
#include "test_frames.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora::test {

inline constexpr const char* kBundledModules[] = {"lumora-animations.so", "lumora-filters.so"};

class BundledPluginsTest : public ConfigDirTest {
protected:
    void SetUp() override {
        ConfigDirTest::SetUp();
        Load(ProgramDir());
    }
    void TearDown() override {
        chain_.reset();
        ConfigDirTest::TearDown();
    }

    EffectChain& Load(const std::string& programFolder) {
        chain_.reset();
        chain_.emplace(programFolder, [] { return BuiltinEffects{}; });
        chain_->LoadEffects();
        return *chain_;
    }
    EffectChain& chain() { return *chain_; }

    // The effects of the two bundled modules, in the chain's order.
    std::vector<Effect*> Bundled() const {
        std::vector<Effect*> effects;
        for (std::size_t m = 0; m < chain_->plugins().ModuleCount(); ++m) {
            const PluginModule& module = chain_->plugins().Module(m);
            const std::string file = std::filesystem::path(module.path()).filename().string();
            if (file != kBundledModules[0] && file != kBundledModules[1]) continue;
            for (Effect* effect : chain_->Effects()) {
                if (effect->module == module.handle()) effects.push_back(effect);
            }
        }
        return effects;
    }
    // The bundled effect called `name`, started; null (and the test failed) when missing.
    Effect* Started(const char* name) {
        for (Effect* effect : Bundled()) {
            if (std::strcmp(effect->name, name) == 0) {
                EXPECT_EQ(chain_->ActivateEffect(effect->id), kEffectStarted) << name;
                return effect;
            }
        }
        ADD_FAILURE() << "no bundled effect \"" << name << "\"";
        return nullptr;
    }
    static void Apply(Effect& effect, TestFrame& frame, double time) {
        effect.ProcessFrame(frame.data(), frame.width, frame.height, time);
    }
    // The settings key of an effect.
    static std::string KeyOf(const Effect& effect) { return std::string(kEffectSettingsRoot) + "\\" + effect.guid; }

private:
    std::optional<EffectChain> chain_;
};

}  // namespace lumora::test
