#include "effects/effect_chain.h"

#include "config_dir_fixture.h"
#include "recording_effect.h"
#include "test_frames.h"
#include "test_support.h"

#include <lumora/registry.h>

#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <thread>

namespace lumora {
namespace {

using test::Journal;
using test::RecordingEffect;

constexpr char kLumoraKey[] = "SOFTWARE\\Lumora";

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
        chain_.emplace(folder_.path().string() + "/", test::RecordingBuiltins(&journal_, &made_, roles));
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

TEST_F(EffectChainTest, DefaultBuiltinsAreNumberedOneToFourWithThePictureInPictureIcon) {
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
        EXPECT_EQ(effect->id, id);
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
    // The stand-ins for the effects of a later build do not start.
    EXPECT_EQ(chain.ActivateEffect(3), kEffectFailed);
    EXPECT_FALSE(chain.IsEffectActive(3));
}

TEST_F(EffectChainTest, MissingBuiltinsKeepTheirNumbers) {
    EffectChain chain(folder_.path().string() + "/", [] {
        BuiltinEffects builtins = CreateDefaultBuiltinEffects();
        builtins.faceTracking.reset();
        return builtins;
    });
    chain.LoadEffects();
    ASSERT_EQ(chain.EffectCount(), 4u);
    EXPECT_STREQ(chain.FindEffect(3)->name, "Face tracking");
    EXPECT_STREQ(chain.FindEffect(4)->name, "Picture - in - picture");
}

TEST_F(EffectChainTest, ActivatingAnActiveEffectRestartsItWithoutASecondSlot) {
    EffectChain& chain = Load();
    EXPECT_EQ(chain.ActivateEffect(1), kEffectStarted);
    EXPECT_EQ(chain.ActivateEffect(1), kEffectStarted);
    EXPECT_EQ(Count("zoom.Start"), 2u);
    EXPECT_TRUE(chain.IsEffectActive(1));
    // Four slots for four effects: had the restart taken a slot, one would be missing.
    for (int id = 2; id <= 4; ++id) EXPECT_EQ(chain.ActivateEffect(id), kEffectStarted);
    EXPECT_EQ(Count("zoom.Stop"), 0u);
}

TEST_F(EffectChainTest, AStartThatFailsOrIsCancelledLeavesTheEffectOut) {
    EffectChain& chain = Load();
    Made(2).startResult = kEffectFailed;
    Made(4).startResult = kEffectCancelled;
    EXPECT_EQ(chain.ActivateEffect(2), kEffectFailed);
    EXPECT_EQ(chain.ActivateEffect(4), kEffectCancelled);
    EXPECT_FALSE(chain.IsEffectActive(2));
    EXPECT_FALSE(chain.IsEffectActive(4));
    EXPECT_EQ(journal_, (Journal{"rgb.Start", "pip.Start"}));
    // Restarting an active effect whose Start now fails answers the failure; it stays in.
    EXPECT_EQ(chain.ActivateEffect(1), kEffectStarted);
    Made(1).startResult = kEffectFailed;
    EXPECT_EQ(chain.ActivateEffect(1), kEffectFailed);
    EXPECT_TRUE(chain.IsEffectActive(1));
    EXPECT_EQ(chain.ActivateEffect(99), kEffectFailed);
}

TEST_F(EffectChainTest, WithNoFreeSlotTheEffectIsStoppedAndTheAnswerIsOne) {
    EffectChain& chain = Load();
    Journal extraJournal;
    RecordingEffect extra("extra", 3, &extraJournal);
    EXPECT_EQ(chain.RegisterEffect(&extra, nullptr), 5);  // after loading: no slot of its own
    for (int id = 1; id <= 4; ++id) ASSERT_EQ(chain.ActivateEffect(id), kEffectStarted);
    EXPECT_EQ(chain.ActivateEffect(5), kEffectFailed);
    EXPECT_EQ(extraJournal, (Journal{"extra.Start", "extra.Stop"}));
    EXPECT_FALSE(chain.IsEffectActive(5));
    chain.DeactivateEffect(2);
    EXPECT_EQ(chain.ActivateEffect(5), kEffectStarted);
    EXPECT_TRUE(chain.IsEffectActive(5));
    chain.UnloadEffects();
}

TEST_F(EffectChainTest, DeactivatingStopsTheEffectEvenWhenItWasNotActive) {
    EffectChain& chain = Load();
    chain.DeactivateEffect(3);
    chain.ActivateEffect(1);
    chain.DeactivateEffect(1);
    chain.DeactivateEffect(42);
    EXPECT_EQ(journal_, (Journal{"face.Stop", "zoom.Start", "zoom.Stop"}));
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

TEST_F(EffectChainTest, WithNothingActiveTheFramePassesUntouched) {
    EffectChain& chain = Load();
    test::TestFrame frame = test::NoiseFrame(7, 5, 2);
    const test::TestFrame before = frame;
    EXPECT_TRUE(chain.ApplyEffects(frame.data(), 7, 5, 0.0));
    EXPECT_EQ(frame.bytes, before.bytes);
    EXPECT_TRUE(journal_.empty());

    EffectChain empty(folder_.path().string() + "/");
    EXPECT_FALSE(empty.ApplyEffects(frame.data(), 7, 5, 0.0));  // not loaded: no table
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
}

TEST_F(EffectChainTest, OwnerWindowReachesEveryEffect) {
    EffectChain& chain = Load();
    QWidget window;
    chain.SetOwnerWindow(&window);
    for (int id = 1; id <= 4; ++id) EXPECT_EQ(static_cast<QWidget*>(chain.FindEffect(id)->ownerWindow), &window);
}

// With "RememberFilterSettings" on, configurable effects read their key when they are
// registered; unloading deletes the key and has them write it anew.
TEST_F(EffectChainTest, RememberedSettingsAreLoadedThenReplacedAtUnload) {
    const std::string pipKey = std::string(kLumoraKey) + "\\00000000-0000-0000-0000-000000000pip";
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, "RememberFilterSettings", 1));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, pipKey.c_str(), "Value", 7));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, pipKey.c_str(), "Stale", 3));

    EffectChain chain(folder_.path().string() + "/", test::RecordingBuiltins(&journal_, &made_));
    chain.LoadEffects();
    EXPECT_EQ(Made(4).value, 7u);
    EXPECT_EQ(Count("pip.Load " + pipKey), 1u);
    EXPECT_EQ(Count("zoom.IsConfigurable"), 1u);
    EXPECT_EQ(std::count_if(journal_.begin(), journal_.end(),
                            [](const std::string& c) { return c.find(".Load ") != std::string::npos; }),
              1);

    Made(4).value = 9;
    journal_.clear();
    chain.UnloadEffects();
    EXPECT_EQ(journal_, (Journal{"zoom.IsConfigurable", "rgb.IsConfigurable", "face.IsConfigurable",
                                 "pip.IsConfigurable", "pip.Save " + pipKey}));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, pipKey.c_str(), "Value", 0), 9u);
    EXPECT_FALSE(ReadRegBinary(HKEY_LOCAL_MACHINE, pipKey.c_str(), "Stale").has_value());
    EXPECT_EQ(chain.EffectCount(), 0u);
    EXPECT_EQ(chain.FindEffect(1), nullptr);
}

TEST_F(EffectChainTest, WithThePreferenceOffNoSettingsAreReadDeletedOrWritten) {
    const std::string pipKey = std::string(kLumoraKey) + "\\00000000-0000-0000-0000-000000000pip";
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, "RememberFilterSettings", 0));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, pipKey.c_str(), "Value", 7));
    const std::string before = test::ReadFileText(SettingsFile());

    {
        EffectChain chain(folder_.path().string() + "/", test::RecordingBuiltins(&journal_, &made_));
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
    EXPECT_EQ(test::ReadFileText(SettingsFile()), before);
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
