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
#include <tuple>
#include <vector>

namespace lumora {
namespace {

// Test effects that write their calls into a journal shared by the test ("zoom.Start",
// "pip.Load SOFTWARE\Lumora\<guid>", ...) and answer Start with whatever the test sets.
// "pip" alone is configurable and keeps one "Value" in the registry.
using Journal = std::vector<std::string>;
using Roles = std::vector<std::pair<std::string, EffectLayer>>;

class RecordingEffect final : public Effect {
public:
    RecordingEffect(std::string tag, EffectLayer effectLayer, Journal* journal)
        : Effect(tag.c_str(), ("00000000-0000-0000-0000-" + std::string(12 - tag.size(), '0') + tag).c_str(),
                 effectLayer),
          tag_(std::move(tag)),
          journal_(journal) {}

    std::int32_t Start() override { return Log("Start"), startResult; }
    void Stop() override { Log("Stop"); }
    bool ProcessFrame(std::uint8_t*, std::int32_t, std::int32_t, double) override { return Log("Frame"), true; }
    void Reset() override { Log("Reset"); }
    bool IsConfigurable() override { return Log("IsConfigurable"), tag_ == "pip"; }
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

// Four effects in the built-in places, made by `make` in number order.
template <class Make>
BuiltinEffectFactory FourBuiltins(Make make) {
    return [make] { return BuiltinEffects{make(0), make(1), make(2), make(3), {}}; };  // made in this order
}

const Roles kRoles = {{"zoom", 0}, {"rgb", 0}, {"face", 0}, {"pip", 2}};
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

    EffectChain& Load(const Roles& roles = kRoles) {
        chain_.emplace(Folder(), FourBuiltins([this, roles](int i) {
                           if (i == 0) made_.clear();
                           auto effect = MakeOwnedEffect<RecordingEffect>(roles[i].first, roles[i].second, &journal_);
                           made_.push_back(static_cast<RecordingEffect*>(effect.get()));
                           return effect;
                       }));
        chain_->LoadEffects();
        loaded_ = std::exchange(journal_, {});
        return *chain_;
    }
    std::string Folder() const { return folder_.path().string() + "/"; }
    RecordingEffect& Made(int id) { return *made_.at(static_cast<std::size_t>(id - 1)); }
    test::TempDir folder_;
    Journal journal_;
    Journal loaded_;  // what loading logged
    std::vector<RecordingEffect*> made_;
    std::optional<EffectChain> chain_;
};

TEST_F(EffectChainTest, BuiltinsAreNumberedOneToFourWhetherPresentOrNot) {
    EffectChain chain(Folder());
    chain.LoadEffects();
    ASSERT_EQ(chain.EffectCount(), 4u);
    // The identifiers are the keys of the effects' saved settings (the names are the
    // command line's tests).
    const std::tuple<const char*, int> builtins[] = {{"1BA87460-8253-4256-B22A-0229A8903BA8", 0},
                                                     {"E9D16C67-D4DC-4950-B922-CCFF2F419B77", 0},
                                                     {"AB07EA63-1AD7-4835-90A0-4D6AACCEE2EB", 0},
                                                     {"9FFBA7A9-17C1-4490-BC91-5273A4314C0E", 2}};
    for (int id = 1; id <= 4; ++id) {
        const Effect* effect = chain.FindEffect(id);
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(std::tuple(std::string(effect->guid), effect->layer), builtins[id - 1]) << id;
    }
    EXPECT_EQ((std::vector<EffectId>{chain.zoomEffectId(), chain.colorFilterEffectId(), chain.faceTrackingEffectId(),
                                     chain.pipEffectId()}),
              (std::vector<EffectId>{1, 2, 3, 4}));
    EXPECT_TRUE(chain.FindEffect(0) == nullptr && chain.FindEffect(5) == nullptr);
    // The stand-ins of the default factory (no face tracking, no inset) do not start.
    EXPECT_EQ(chain.ActivateEffect(3), kEffectFailed);
    EXPECT_FALSE(FindFaceTrackingEffect(chain) || FindPictureInPictureEffect(chain));

    // A built-in the factory left out gets a stand-in of its own, so none is renumbered.
    EffectChain missing(Folder(), [] {
        BuiltinEffects builtins = CreateAllBuiltinEffects();
        builtins.faceTracking.reset();
        return builtins;
    });
    missing.LoadEffects();
    ASSERT_EQ(missing.EffectCount(), 4u);
    EXPECT_STREQ(missing.FindEffect(3)->name, "Face tracking");
    EXPECT_NE(FindPictureInPictureEffect(missing), nullptr);
}

// Activating an active effect restarts it in its slot; a failed or cancelled start leaves
// the effect out. With no slot free an effect is started, stopped again and refused; a
// slot freed takes it. Deactivating always stops.
TEST_F(EffectChainTest, ActivationRestartsInPlaceLeavesOutWhatDoesNotStartAndFramesRunLayerByLayer) {
    EffectChain& chain = Load();
    Made(2).startResult = kEffectFailed;
    Made(4).startResult = kEffectCancelled;
    EXPECT_EQ(chain.ActivateEffect(2), kEffectFailed);
    EXPECT_EQ(chain.ActivateEffect(4), kEffectCancelled);
    EXPECT_FALSE(chain.IsEffectActive(2) || chain.IsEffectActive(4));
    EXPECT_EQ(chain.ActivateEffect(99), kEffectFailed);
    EXPECT_EQ(chain.ActivateEffect(1), kEffectStarted);
    EXPECT_EQ(chain.ActivateEffect(1), kEffectStarted);
    EXPECT_EQ(journal_, (Journal{"rgb.Start", "pip.Start", "zoom.Start", "zoom.Start"}));
    // Restarting an active effect whose Start now fails answers the failure; it stays in.
    Made(1).startResult = kEffectFailed;
    EXPECT_EQ(chain.ActivateEffect(1), kEffectFailed);
    EXPECT_TRUE(chain.IsEffectActive(1));
    Made(1).startResult = Made(2).startResult = Made(4).startResult = kEffectStarted;

    Journal extraJournal;
    RecordingEffect extra("extra", 3, &extraJournal);
    EXPECT_EQ(chain.RegisterEffect(&extra, nullptr), 5);  // after loading: no slot of its own
    // Four slots for four effects: had the restarts taken a slot, one would be missing.
    for (int id = 2; id <= 4; ++id) ASSERT_EQ(chain.ActivateEffect(id), kEffectStarted);
    EXPECT_EQ(chain.ActivateEffect(5), kEffectFailed);
    EXPECT_EQ(std::tuple(extraJournal, chain.IsEffectActive(5)),
              std::tuple(Journal{"extra.Start", "extra.Stop"}, false));
    chain.DeactivateEffect(2);
    EXPECT_EQ(chain.ActivateEffect(5), kEffectStarted);

    journal_.clear();
    chain.DeactivateEffect(5);
    chain.DeactivateEffect(2);  // not active: stopped all the same
    chain.DeactivateEffect(42);
    EXPECT_EQ(std::tuple(journal_, extraJournal.back()), std::tuple(Journal{"rgb.Stop"}, "extra.Stop"));
    chain.UnloadEffects();

    // Layer 0 first, then 1, 2, 3, whatever the order of activation; slot order within a
    // layer; effects of layers outside 0 to 3 never run. Reset reaches the active effects in
    // slot order; clearing stops nothing and runs nothing more.
    EffectChain& layered = Load({{"anim", 3}, {"filter", 1}, {"pip", 2}, {"zoom", 0}});
    RecordingEffect rgb("rgb", 0, &journal_);
    for (int id : {1, 2, 3, 4}) ASSERT_EQ(layered.ActivateEffect(id), kEffectStarted);
    journal_.clear();
    test::TestFrame frame(5, 3);
    EXPECT_TRUE(layered.ApplyEffects(frame.data(), 5, 3, 0.5));
    EXPECT_EQ(journal_, (Journal{"zoom.Frame", "filter.Frame", "pip.Frame", "anim.Frame"}));

    // A layer-0 effect activated last, into the slot the filter left, runs before the
    // zoom that has a later slot.
    layered.DeactivateEffect(2);
    layered.RegisterEffect(&rgb, nullptr);
    ASSERT_EQ(layered.ActivateEffect(5), kEffectStarted);
    journal_.clear();
    layered.ProcessFrame(frame.data(), 5, 3, 0.6);
    EXPECT_EQ(journal_, (Journal{"rgb.Frame", "zoom.Frame", "pip.Frame", "anim.Frame"}));
    journal_.clear();
    layered.ResetActiveEffects();
    EXPECT_EQ(journal_, (Journal{"anim.Reset", "rgb.Reset", "pip.Reset", "zoom.Reset"}));

    layered.DeactivateEffect(5);
    Made(1).layer = 4;
    Made(3).layer = -1;
    journal_.clear();
    layered.ApplyEffects(frame.data(), 5, 3, 0.7);
    EXPECT_EQ(journal_, (Journal{"zoom.Frame"}));

    journal_.clear();
    layered.ClearActiveEffects();
    EXPECT_TRUE(layered.ApplyEffects(frame.data(), 5, 3, 0.8));
    EXPECT_EQ(journal_, Journal{});
    EXPECT_FALSE(layered.IsEffectActive(1) || layered.IsEffectActive(3) ||
                 layered.IsEffectActive(4));                                    // 2 and 5 were off
    EXPECT_FALSE(EffectChain(Folder()).ApplyEffects(frame.data(), 5, 3, 0.0));  // no table yet
    layered.UnloadEffects();                                                    // before `rgb` goes
}

// With "RememberFilterSettings" on, configurable effects read their key when they are
// registered; unloading deletes the key and has them write it anew. With it off, no
// settings are read, deleted or written.
TEST_F(EffectChainTest, RememberedSettingsAreLoadedThenReplacedAtUnloadOnlyWhenAsked) {
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Value", 7));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Stale", 3));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, "RememberFilterSettings", 0));
    const std::string before = test::ReadFileText(RegFile());
    Load();
    EXPECT_EQ(Made(4).value, 1u);
    Made(4).value = 9;
    chain_.reset();  // unloads
    EXPECT_EQ(std::tuple(loaded_, journal_), std::tuple(Journal{}, Journal{}));
    EXPECT_EQ(test::ReadFileText(RegFile()), before);

    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, "RememberFilterSettings", 1));
    EffectChain& chain = Load();
    const auto askedThen = [](const std::string& call) {
        return Journal{"zoom.IsConfigurable", "rgb.IsConfigurable", "face.IsConfigurable", "pip.IsConfigurable",
                       "pip." + call + " " + kPipKey};
    };
    EXPECT_EQ(std::tuple(Made(4).value, loaded_), std::tuple(7u, askedThen("Load")));
    Made(4).value = 9;
    chain.UnloadEffects();
    EXPECT_EQ(journal_, askedThen("Save"));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Value", 0), 9u);
    EXPECT_FALSE(ReadRegBinary(HKEY_LOCAL_MACHINE, kPipKey.c_str(), "Stale").has_value());
}

// An effect that counts the frames that reach it, and how often one reached it twice, from
// the streaming thread.
class CountingEffect final : public Effect {
public:
    CountingEffect() : Effect("count", "00000000-0000-0000-0000-000000000001", kLayerPicture) {}
    bool ProcessFrame(std::uint8_t* pixels, std::int32_t, std::int32_t, double) override {
        std::uint32_t frame;
        std::memcpy(&frame, pixels, sizeof frame);
        repeats += frame == lastFrame;
        lastFrame = frame;
        ++frames;
        return true;
    }
    std::atomic<int> repeats{0}, frames{0};
    std::uint32_t lastFrame = ~0u;  // the streaming thread's
};

// While the user-interface thread switches effects on and off (which moves them from
// slot to slot), every frame sees each effect at most once. The switching goes on until
// the streaming thread has run frames through every effect: on a busy machine one thread
// may run a whole time slice while the other waits.
TEST_F(EffectChainTest, AFrameSeesEachEffectInOrOutNeverTwice) {
    CountingEffect effects[4];
    EffectChain chain(Folder(), FourBuiltins([&effects](int i) { return OwnedEffect(&effects[i], EffectDeleter{}); }));
    chain.LoadEffects();

    std::atomic<bool> done{false};
    std::thread streaming([&] {
        test::TestFrame frame(4, 2);
        for (std::uint32_t n = 0; !done.load(); ++n) {
            std::memcpy(frame.data(), &n, sizeof n);
            chain.ProcessFrame(frame.data(), 4, 2, n / 30.0);
        }
    });
    const auto allSeen = [&effects] {
        return std::all_of(std::begin(effects), std::end(effects),
                           [](const CountingEffect& e) { return e.frames >= 100; });
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (int round = 0; (round < 20000 || !allSeen()) && std::chrono::steady_clock::now() < deadline; ++round) {
        const int id = 1 + round % 4;
        chain.IsEffectActive(id) ? chain.DeactivateEffect(id) : void(chain.ActivateEffect(id));
    }
    done.store(true);
    streaming.join();
    EXPECT_TRUE(allSeen()) << "the streaming thread ran no frames through some of the effects";
    for (const CountingEffect& e : effects) EXPECT_EQ(e.repeats.load(), 0);
}

}  // namespace
}  // namespace lumora
