// Test effects for the chain: each writes its calls into a journal shared by the test
// ("zoom.Start", "pip.Frame", "anim.Load SOFTWARE\Lumora\<guid>", ...) and answers Start
// with whatever the test sets. Configurable ones keep one "Value" in the registry.
// User-interface-thread tests only: the journal is not synchronised.
#pragma once

#include "effects/builtin_effects.h"

#include <lumora/effect.h>
#include <lumora/registry.h>

#include <string>
#include <vector>

namespace lumora::test {

using Journal = std::vector<std::string>;

class RecordingEffect final : public Effect {
public:
    RecordingEffect(std::string tag, EffectLayer effectLayer, Journal* journal, bool configurable = false)
        : Effect(tag.c_str(), ("00000000-0000-0000-0000-" + std::string(12 - tag.size(), '0') + tag).c_str(),
                 effectLayer),
          tag_(std::move(tag)),
          journal_(journal),
          configurable_(configurable) {}

    std::int32_t Start() override {
        Log("Start");
        return startResult;
    }
    void Stop() override { Log("Stop"); }
    bool ProcessFrame(std::uint8_t*, std::int32_t, std::int32_t, double) override {
        Log("Frame");
        return true;
    }
    void Reset() override { Log("Reset"); }
    bool IsConfigurable() override {
        Log("IsConfigurable");
        return configurable_;
    }
    void LoadSettings(HKEY root, const char* path) override {
        Log(std::string("Load ") + path);
        value = ReadRegDword(root, path, "Value", value);
    }
    void SaveSettings(HKEY root, const char* path) override {
        Log(std::string("Save ") + path);
        WriteRegDword(root, path, "Value", value);
    }

    std::int32_t startResult = kEffectStarted;
    std::uint32_t value = 1;

private:
    void Log(const std::string& call) { journal_->push_back(tag_ + "." + call); }

    std::string tag_;
    Journal* journal_;
    bool configurable_;
};

// Four recording effects in the built-in places; `made` receives them in number order.
inline BuiltinEffectFactory RecordingBuiltins(Journal* journal, std::vector<RecordingEffect*>* made,
                                              const std::vector<std::pair<std::string, EffectLayer>>& roles = {
                                                  {"zoom", 0}, {"rgb", 0}, {"face", 0}, {"pip", 2}}) {
    return [journal, made, roles] {
        made->clear();
        std::vector<OwnedEffect> effects;
        for (const auto& [tag, layer] : roles) {
            effects.push_back(MakeOwnedEffect<RecordingEffect>(tag, layer, journal, tag == "pip"));
            made->push_back(static_cast<RecordingEffect*>(effects.back().get()));
        }
        BuiltinEffects builtins;
        builtins.zoom = std::move(effects[0]);
        builtins.colorFilter = std::move(effects[1]);
        builtins.faceTracking = std::move(effects[2]);
        builtins.pictureInPicture = std::move(effects[3]);
        return builtins;
    };
}

}  // namespace lumora::test
