#include "effects/effect_chain.h"

#include "effects/all_builtin_effects.h"
#include "effects/builtin_effects.h"
#include "effects/face_tracking_effect.h"
#include "effects/picture_in_picture_effect.h"

#include "config_dir_fixture.h"
#include "test_frames.h"
#include "test_support.h"

#include <lumora/effect.h>
#include <lumora/registry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace lumora {
namespace {

// Test effects that write their calls into a journal shared by the test ("zoom.Start",
// "pip.Load SOFTWARE\Lumora\<guid>", ...) and answer Start with whatever the test sets.
// "pip" alone is configurable and keeps one "Value" in the registry.
using Journal = std::vector<std::string>;

class RecordingEffect final : public Effect {
public:
    RecordingEffect(std::string tag, EffectLayer effectLayer, Journal* journal)
        : Effect(tag.c_str(), ("00000000-0000-0000-0000-" + std::string(12 - tag.size(), '0') + tag).c_str(),
                 effectLayer),
          tag_(std::move(tag)),
          journal_(journal) {}

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
        return tag_ == "pip";
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
};

// Four recording effects in the built-in places; `made` receives them in number order.
BuiltinEffectFactory RecordingBuiltins(Journal* journal, std::vector<RecordingEffect*>* made,
                                       const std::vector<std::pair<std::string, EffectLayer>>& roles = {
                                           {"zoom", 0}, {"rgb", 0}, {"face", 0}, {"pip", 2}}) {
    return [journal, made, roles] {
        made->clear();
        std::vector<OwnedEffect> effects;
        for (const auto& [tag, layer] : roles) {
            effects.push_back(MakeOwnedEffect<RecordingEffect>(tag, layer, journal));
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

constexpr char kLumoraKey[] = "SOFTWARE\\Lumora";
const std::string kPipKey = std::string(kLumoraKey) + "\\00000000-0000-0000-0000-000000000pip";

// A chain over an empty program folder whose built-ins are recording effects.
class EffectChainTest : public test::ConfigDirTest {
protected:
    // The chain saves settings when it goes: while the test's settings file is in use.
    void TearDown() override {
        chain_.reset();
        ConfigDirTest::TearDown();
    }

    EffectChain& Load(const std::vector<std::pair<std::string, EffectLayer>>& roles = {
                          {"zoom", 0}, {"rgb", 0}, {"face", 0}, {"pip", 2}}) {
        chain_.emplace(folder_.path().string() + "/", RecordingBuiltins(&journal_, &made_, roles));
        chain_->LoadEffects();
        journal_.clear();
        return *chain_;
    }
    RecordingEffect& Made(int id) { return *made_.at(static_cast<std::size_t>(id - 1)); }
    std::size_t Count(const std::string& call) const { return std::count(journal_.begin(), journal_.end(), call); }

    test::TempDir folder_;
    Journal journal_;
    std::vector<RecordingEffect*> made_;
    std::optional<EffectChain> chain_;
};

TEST_F(EffectChainTest, BuiltinsAreNumberedOneToFourWhetherPresentOrNot) {
    EffectChain chain(folder_.path().string() + "/");
    chain.LoadEffects();
    ASSERT_EQ(chain.EffectCount(), 4u);
    const char* names[] = {"Zoom", "RGB filter", "Face tracking", "Picture - in - picture"};
    const char* guids[] = {"1BA87460-8253-4256-B22A-0229A8903BA8", "E9D16C67-D4DC-4950-B922-CCFF2F419B77",
                           "AB07EA63-1AD7-4835-90A0-4D6AACCEE2EB", "9FFBA7A9-17C1-4490-BC91-5273A4314C0E"};
    const int layers[] = {0, 0, 0, 2};
    for (int id = 1; id <= 4; ++id) {
        const Effect* effect = chain.FindEffect(id);
        ASSERT_NE(effect, nullptr);
        EXPECT_STREQ(effect->name, names[id - 1]);
        EXPECT_STREQ(effect->guid, guids[id - 1]);
        EXPECT_EQ(effect->layer, layers[id - 1]);
        EXPECT_STREQ(effect->imagesFolder, (folder_.path().string() + "/images/").c_str());
        EXPECT_NE(effect->module, nullptr);
        EXPECT_EQ(effect->icon != nullptr, id == 4);
    }
    EXPECT_EQ(chain.zoomEffectId(), 1);
    EXPECT_EQ(chain.colorFilterEffectId(), 2);
    EXPECT_EQ(chain.faceTrackingEffectId(), 3);
    EXPECT_EQ(chain.pipEffectId(), 4);
    EXPECT_EQ(chain.FindEffect(4)->icon->width(), 32);
    EXPECT_EQ(chain.FindEffect(0), nullptr);
    EXPECT_EQ(chain.FindEffect(5), nullptr);
    // The stand-ins of the default factory (no face tracking, no inset) do not start.
    EXPECT_EQ(chain.ActivateEffect(3), kEffectFailed);
    EXPECT_FALSE(chain.IsEffectActive(3));
    EXPECT_EQ(FindFaceTrackingEffect(chain), nullptr);
    EXPECT_EQ(FindPictureInPictureEffect(chain), nullptr);

    // A built-in the factory left out gets a stand-in of its own, so none is renumbered.
    EffectChain missing(folder_.path().string() + "/", [] {
        BuiltinEffects builtins = CreateDefaultBuiltinEffects();
        builtins.faceTracking.reset();
        return builtins;
    });
    missing.LoadEffects();
    ASSERT_EQ(missing.EffectCount(), 4u);
    EXPECT_STREQ(missing.FindEffect(3)->name, "Face tracking");
    EXPECT_STREQ(missing.FindEffect(4)->name, "Picture - in - picture");

    EffectChain all(folder_.path().string() + "/", CreateAllBuiltinEffects);
    all.LoadEffects();
    EXPECT_NE(FindFaceTrackingEffect(all), nullptr);
    ASSERT_NE(FindPictureInPictureEffect(all), nullptr);
    EXPECT_NE(FindPictureInPictureEffect(all)->icon, nullptr);
}

// Activating an active effect restarts it in its slot. With no slot free an effect is
// started, stopped again and refused; a slot freed takes it.
TEST_F(EffectChainTest, ActivationRestartsInPlaceAndStopsAnEffectWithNoFreeSlot) {
    EffectChain& chain = Load();
    Journal extraJournal;
    RecordingEffect extra("extra", 3, &extraJournal);
    EXPECT_EQ(chain.RegisterEffect(&extra, nullptr), 5);  // after loading: no slot of its own
    EXPECT_EQ(chain.ActivateEffect(1), kEffectStarted);
    EXPECT_EQ(chain.ActivateEffect(1), kEffectStarted);
    EXPECT_EQ(Count("zoom.Start"), 2u);
    EXPECT_EQ(Count("zoom.Stop"), 0u);
    // Four slots for four effects: had the restart taken a slot, one would be missing.
    for (int id = 2; id <= 4; ++id) ASSERT_EQ(chain.ActivateEffect(id), kEffectStarted);
    EXPECT_EQ(chain.ActivateEffect(5), kEffectFailed);
    EXPECT_EQ(extraJournal, (Journal{"extra.Start", "extra.Stop"}));
    EXPECT_FALSE(chain.IsEffectActive(5));
    chain.DeactivateEffect(2);
    EXPECT_EQ(chain.ActivateEffect(5), kEffectStarted);
    EXPECT_TRUE(chain.IsEffectActive(5));
    chain.UnloadEffects();
}

TEST_F(EffectChainTest, AFailedOrCancelledStartLeavesTheEffectOutAndDeactivatingAlwaysStops) {
    EffectChain& chain = Load();
    Made(2).startResult = kEffectFailed;
    Made(4).startResult = kEffectCancelled;
    EXPECT_EQ(chain.ActivateEffect(2), kEffectFailed);
    EXPECT_EQ(chain.ActivateEffect(4), kEffectCancelled);
    EXPECT_FALSE(chain.IsEffectActive(2));
    EXPECT_FALSE(chain.IsEffectActive(4));
    EXPECT_EQ(journal_, (Journal{"rgb.Start", "pip.Start"}));
    EXPECT_EQ(chain.ActivateEffect(99), kEffectFailed);
    // Restarting an active effect whose Start now fails answers the failure; it stays in.
    EXPECT_EQ(chain.ActivateEffect(1), kEffectStarted);
    Made(1).startResult = kEffectFailed;
    EXPECT_EQ(chain.ActivateEffect(1), kEffectFailed);
    EXPECT_TRUE(chain.IsEffectActive(1));

    journal_.clear();
    chain.DeactivateEffect(3);  // not active: stopped all the same
    chain.DeactivateEffect(1);
    chain.DeactivateEffect(42);
    EXPECT_EQ(journal_, (Journal{"face.Stop", "zoom.Stop"}));
    EXPECT_FALSE(chain.IsEffectActive(1));
}

// Layer 0 first, then 1, 2, 3, whatever the order of activation; slot order within a
// layer; effects of layers outside 0 to 3 never run.
TEST_F(EffectChainTest, FramesRunLayerByLayer) {
    EffectChain& chain = Load({{"anim", 3}, {"filter", 1}, {"pip", 2}, {"zoom", 0}});
    Journal lateJournal;
    RecordingEffect rgb("rgb", 0, &lateJournal);
    for (int id : {1, 2, 3, 4}) ASSERT_EQ(chain.ActivateEffect(id), kEffectStarted);
    journal_.clear();
    test::TestFrame frame(5, 3);
    EXPECT_TRUE(chain.ApplyEffects(frame.data(), 5, 3, 0.5));
    EXPECT_EQ(journal_, (Journal{"zoom.Frame", "filter.Frame", "pip.Frame", "anim.Frame"}));

    // A layer-0 effect activated last still runs before the filter.
    chain.DeactivateEffect(2);
    chain.RegisterEffect(&rgb, nullptr);
    ASSERT_EQ(chain.ActivateEffect(5), kEffectStarted);
    ASSERT_EQ(chain.ActivateEffect(2), kEffectFailed);  // four slots, all taken
    journal_.clear();
    chain.ProcessFrame(frame.data(), 5, 3, 0.6);
    EXPECT_EQ(journal_, (Journal{"zoom.Frame", "pip.Frame", "anim.Frame"}));
    EXPECT_EQ(lateJournal, (Journal{"rgb.Start", "rgb.Frame"}));

    chain.DeactivateEffect(5);
    Made(1).layer = 4;
    Made(3).layer = -1;
    journal_.clear();
    chain.ApplyEffects(frame.data(), 5, 3, 0.7);
    EXPECT_EQ(journal_, (Journal{"zoom.Frame"}));
    chain.UnloadEffects();
}

TEST_F(EffectChainTest, ResetReachesActiveEffectsInSlotOrderAndClearStopsNothing) {
    EffectChain& chain = Load();
    chain.ActivateEffect(4);
    chain.ActivateEffect(2);
    chain.DeactivateEffect(4);
    chain.ActivateEffect(1);  // into the slot 4 left
    chain.ActivateEffect(4);
    journal_.clear();
    chain.ResetActiveEffects();
    EXPECT_EQ(journal_, (Journal{"zoom.Reset", "rgb.Reset", "pip.Reset"}));

    journal_.clear();
    chain.ClearActiveEffects();
    EXPECT_TRUE(journal_.empty());
    for (int id = 1; id <= 4; ++id) EXPECT_FALSE(chain.IsEffectActive(id));
    test::TestFrame frame(2, 2);
    EXPECT_TRUE(chain.ApplyEffects(frame.data(), 2, 2, 0.0));
    EXPECT_TRUE(journal_.empty());
    EffectChain unloaded(folder_.path().string() + "/");
    EXPECT_FALSE(unloaded.ApplyEffects(frame.data(), 2, 2, 0.0));  // no table yet
}

// With "RememberFilterSettings" on, configurable effects read their key when they are
// registered; unloading deletes the key and has them write it anew.
TEST_F(EffectChainTest, RememberedSettingsAreLoadedThenReplacedAtUnload) {
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, "RememberFilterSettings", 1));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Value", 7));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Stale", 3));

    EffectChain chain(folder_.path().string() + "/", RecordingBuiltins(&journal_, &made_));
    chain.LoadEffects();
    EXPECT_EQ(Made(4).value, 7u);
    EXPECT_EQ(Count("pip.Load " + kPipKey), 1u);
    EXPECT_EQ(Count("zoom.IsConfigurable"), 1u);
    EXPECT_EQ(std::count_if(journal_.begin(), journal_.end(),
                            [](const std::string& c) { return c.find(".Load ") != std::string::npos; }),
              1);

    Made(4).value = 9;
    journal_.clear();
    chain.UnloadEffects();
    EXPECT_EQ(journal_, (Journal{"zoom.IsConfigurable", "rgb.IsConfigurable", "face.IsConfigurable",
                                 "pip.IsConfigurable", "pip.Save " + kPipKey}));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Value", 0), 9u);
    EXPECT_FALSE(ReadRegBinary(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Stale").has_value());
    EXPECT_EQ(chain.EffectCount(), 0u);
    EXPECT_EQ(chain.FindEffect(1), nullptr);
}

TEST_F(EffectChainTest, WithThePreferenceOffNoSettingsAreReadDeletedOrWritten) {
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, "RememberFilterSettings", 0));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Value", 7));
    const std::string before = test::ReadFileText(RegFile());

    {
        EffectChain chain(folder_.path().string() + "/", RecordingBuiltins(&journal_, &made_));
        chain.LoadEffects();
        EXPECT_EQ(Made(4).value, 1u);
        Made(4).value = 9;
        chain.UnloadEffects();
        chain.LoadEffects();
    }  // and once more when the chain goes
    EXPECT_EQ(std::count_if(journal_.begin(), journal_.end(),
                            [](const std::string& c) {
                                return c.find("Load") != std::string::npos || c.find("Save") != std::string::npos ||
                                       c.find("IsConfigurable") != std::string::npos;
                            }),
              0);
    EXPECT_EQ(test::ReadFileText(RegFile()), before);
}

// An effect that counts how often each frame reached it, from the streaming thread.
class CountingEffect final : public Effect {
public:
    CountingEffect() : Effect("count", "00000000-0000-0000-0000-000000000001", kLayerPicture) {}
    bool ProcessFrame(std::uint8_t* pixels, std::int32_t, std::int32_t, double) override {
        std::uint32_t frame;
        std::memcpy(&frame, pixels, sizeof frame);
        if (frame == lastFrame_) repeats.fetch_add(1);
        lastFrame_ = frame;
        return true;
    }
    std::atomic<int> repeats{0};

private:
    std::uint32_t lastFrame_ = ~0u;
};

// While the user-interface thread switches effects on and off (which moves them from
// slot to slot), every frame sees each effect at most once.
TEST_F(EffectChainTest, AFrameSeesEachEffectInOrOutNeverTwice) {
    CountingEffect effects[4];
    EffectChain chain(folder_.path().string() + "/", [&effects] {
        BuiltinEffects builtins;
        auto borrowed = [](Effect* e) { return OwnedEffect(e, EffectDeleter{nullptr}); };
        builtins.zoom = borrowed(&effects[0]);
        builtins.colorFilter = borrowed(&effects[1]);
        builtins.faceTracking = borrowed(&effects[2]);
        builtins.pictureInPicture = borrowed(&effects[3]);
        return builtins;
    });
    chain.LoadEffects();

    std::atomic<bool> done{false};
    std::thread streaming([&] {
        test::TestFrame frame(4, 2);
        for (std::uint32_t n = 0; !done.load(); ++n) {
            std::memcpy(frame.data(), &n, sizeof n);
            chain.ProcessFrame(frame.data(), 4, 2, n / 30.0);
        }
    });
    for (int round = 0; round < 20000; ++round) {
        const int id = 1 + round % 4;
        if (chain.IsEffectActive(id)) {
            chain.DeactivateEffect(id);
        } else {
            chain.ActivateEffect(id);
        }
    }
    done.store(true);
    streaming.join();
    for (const CountingEffect& e : effects) EXPECT_EQ(e.repeats.load(), 0);
}

}  // namespace
}  // namespace lumora
