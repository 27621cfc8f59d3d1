// The bundled plug-ins as the program sees them: an effect chain over this build's
// program folder, with stand-ins for the four built-in effects, and a settings folder of
// the test's own.
#include "effects/effect_chain.h"

#include "config_dir_fixture.h"
#include "test_frames.h"
#include "test_support.h"

#include <lumora/registry.h>

#include <QApplication>
#include <QDialog>
#include <QSpinBox>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace lumora::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBundledModules[] = {"lumora-animations.so", "lumora-filters.so"};

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

    void Load(const std::string& programFolder) {
        chain_.emplace(programFolder, [] { return BuiltinEffects{}; });
        chain_->LoadEffects();
    }
    EffectChain& chain() { return *chain_; }

    // The effects of the two bundled modules, in the chain's order.
    std::vector<Effect*> Bundled() const {
        std::vector<Effect*> effects;
        for (std::size_t m = 0; m < chain_->plugins().ModuleCount(); ++m) {
            const PluginModule& module = chain_->plugins().Module(m);
            const std::string file = fs::path(module.path()).filename().string();
            if (file != kBundledModules[0] && file != kBundledModules[1]) continue;
            for (Effect* effect : chain_->Effects()) {
                if (effect->module == module.handle()) effects.push_back(effect);
            }
        }
        return effects;
    }
    // The bundled effect called `name`, started (or whose start gave `started`); null (and
    // the test failed) when missing.
    Effect* Started(const char* name, std::int32_t started = kEffectStarted) {
        for (Effect* effect : Bundled()) {
            if (std::strcmp(effect->name, name) != 0) continue;
            EXPECT_EQ(chain_->ActivateEffect(effect->id), started) << name;
            return effect;
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

// Six animations and eight filters, each with an icon and a name and key of its own. Run on
// exact-size heap frames, so the sanitizer build catches any byte written or read past the
// end; the row padding must come out as it went in.
TEST_F(BundledPluginsTest, EveryEffectHasItsOwnKeyAndIconAndRunsOnTinyAndOddFramesWithinItsBytes) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {{641, 479}, {1, 1}, {3, 2}, {641, 479}, {2, 3}};
    const std::vector<Effect*> effects = Bundled();
    std::set<std::string> names, guids;
    int animations = 0, filters = 0;
    for (Effect* effect : effects) {
        SCOPED_TRACE(effect->name);
        names.insert(effect->name);
        guids.insert(effect->guid);
        ASSERT_NE(effect->icon, nullptr);
        EXPECT_EQ(std::tuple(std::strlen(effect->guid), effect->icon->width(), effect->icon->height()),
                  std::tuple(36u, 32, 32));
        animations += effect->layer == kLayerAnimation;
        filters += effect->layer == kLayerFilter;
        ASSERT_EQ(chain().ActivateEffect(effect->id), kEffectStarted);
        unsigned seed = 1;
        for (const auto& [width, height] : sizes) {
            for (const double time : {0.0, 0.7, 6.5}) {
                TestFrame frame = NoiseFrame(width, height, seed++);
                const std::vector<std::uint8_t> padding = RowPadding(frame);
                Apply(*effect, frame, time);
                EXPECT_EQ(RowPadding(frame), padding) << width << " x " << height;
            }
        }
        chain().DeactivateEffect(effect->id);
        TestFrame late = NoiseFrame(3, 2, seed);
        Apply(*effect, late, 7.0);  // the frame that was already under way at Stop
    }
    EXPECT_EQ(std::tuple(animations, filters, names.size(), guids.size()),
              std::tuple(6, 8, effects.size(), effects.size()));
}

TEST_F(BundledPluginsTest, FiltersDoExactlyWhatTheSayAndThePictureFrameNeedsItsPicture) {
    Effect* grey = Started("Black and white");
    ASSERT_NE(grey, nullptr);
    TestFrame frame = NoiseFrame(641, 479, 7);
    Apply(*grey, frame, 0);
    for (std::int32_t i = 0; i < frame.width * frame.height; ++i) {
        const std::uint8_t* p = frame.pixel(i % frame.width, i / frame.width);
        ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << i % frame.width << ", " << i / frame.width;
    }

    Effect* negative = Started("Negative");
    ASSERT_NE(negative, nullptr);
    const TestFrame original = NoiseFrame(641, 479, 8);
    frame = original;
    Apply(*negative, frame, 0);
    EXPECT_EQ(255 - frame.pixel(10, 20)[1], original.bytes[original.layout.PixelOffset(10, 20) + 1]);
    Apply(*negative, frame, 0);
    EXPECT_EQ(frame.bytes, original.bytes) << "negative twice";

    Effect* mirror = Started("Mirror");
    ASSERT_NE(mirror, nullptr);
    for (const std::int32_t width : {641, 640, 3}) {
        TestFrame unmirrored = NoiseFrame(width, 5, 9);
        frame = unmirrored;
        Apply(*mirror, frame, 0);
        for (std::int32_t i = 0; i < width * frame.height; ++i) {
            const std::int32_t x = i % width, y = i / width;
            ASSERT_TRUE(std::equal(frame.pixel(x, y), frame.pixel(x, y) + 3, unmirrored.pixel(width - 1 - x, y)))
                << width << ": " << x << ", " << y;
        }
    }

    // A plain picture has nothing to smooth or average: one wrong weight or edge sample
    // shows as a changed byte.
    for (const char* name : {"Soft focus", "Pixelate"}) {
        Effect* effect = Started(name);
        ASSERT_NE(effect, nullptr);
        for (const auto& [width, height] : {std::pair{641, 479}, std::pair{5, 3}}) {
            TestFrame plain(width, height);
            for (std::int32_t i = 0; i < width * height; ++i) plain.Set(i % width, i / width, 40, 170, 255);
            frame = plain;
            Apply(*effect, frame, 0);
            EXPECT_EQ(frame.bytes, plain.bytes) << name << " " << width << " x " << height;
        }
    }

    // The frame and the vignette change the corners and leave the middle.
    for (const char* name : {"Picture frame", "Vignette"}) {
        Effect* effect = Started(name);
        ASSERT_NE(effect, nullptr);
        TestFrame grey(640, 480, 200);
        Apply(*effect, grey, 0);
        EXPECT_EQ(std::tuple(grey.pixel(1, 1)[0] != 200, grey.pixel(638, 478)[2] != 200, grey.pixel(320, 240)[1]),
                  std::tuple(true, true, 200))
            << name;
    }

    // Without its picture the frame cannot start.
    TempDir folder;
    for (const char* module : kBundledModules) fs::copy_file(ProgramDir() + module, folder.file(module));
    Load(folder.path().string() + "/");
    ASSERT_NE(Started("Hearts"), nullptr);
    const Effect* pictureFrame = Started("Picture frame", kEffectFailed);
    ASSERT_NE(pictureFrame, nullptr);
    EXPECT_FALSE(chain().IsEffectActive(pictureFrame->id));
}

// Frames at the same stream time look the same however many frames came before (so the
// speed does not depend on the frame rate), also after the time went back; a Reset
// starts the animation again.
TEST_F(BundledPluginsTest, AnimationsFollowTheStreamTimeAlone) {
    const auto drawn = [this](Effect& effect, double time) {
        TestFrame frame(320, 240);
        Apply(effect, frame, time);
        return frame;
    };
    for (const char* name : {"Falling snow", "Hearts", "Bubbles", "Confetti"}) {
        Effect* effect = Started(name);
        ASSERT_NE(effect, nullptr);
        effect->Reset();
        for (double time = 10.0; time < 13.0; time += 1.0 / 25) drawn(*effect, time);
        TestFrame afterMany = drawn(*effect, 11.5);  // back in time

        effect->Reset();
        drawn(*effect, 10.0);
        TestFrame afterOne = drawn(*effect, 11.5);
        EXPECT_EQ(afterMany.bytes, afterOne.bytes) << name;
        EXPECT_NE(afterOne.bytes, TestFrame(320, 240).bytes) << name << " draws nothing";
        EXPECT_NE(drawn(*effect, 12.5).bytes, afterOne.bytes) << name << " does not move";
    }
}

// A setting of a configurable effect: a valid value other than the one the effect starts
// with, and one out of range.
struct Setting {
    const char* effect;
    const char* value;
    std::uint32_t kept, outOfRange;
};
const Setting kSettings[] = {{"Falling snow", "Amount", 350, 5000},
                             {"Falling snow", "Speed", 8, 0},
                             {"Date and time", "Corner", 2, 4},
                             {"Date and time", "ShowDate", 0, 7},
                             {"Pixelate", "BlockSize", 20, 1}};

// Where the caption put its white text on a black frame: -1, 0 or 1 for left/right of
// the middle and below/above it; 0 when it drew nowhere or on both sides.
std::pair<int, int> CaptionSide(Effect& caption) {
    TestFrame frame(640, 480);
    caption.ProcessFrame(frame.data(), 640, 480, 0);
    bool left = false, right = false, below = false, above = false;
    for (std::int32_t i = 0; i < 640 * 480; ++i) {
        if (frame.pixel(i % 640, i / 640)[0] < 128) continue;
        (i % 640 < 320 ? left : right) = true;
        (i / 640 < 240 ? below : above) = true;
    }
    return {left == right ? 0 : (left ? -1 : 1), below == above ? 0 : (below ? -1 : 1)};
}

// The caption's corner stands for the effects' settings being used at all.
TEST_F(BundledPluginsTest, ConfigurableEffectsKeepTheirSettingsBetweenRunsAndUseThem) {
    std::map<std::string, std::string> keys;  // effect name -> settings key
    for (const Effect* effect : Bundled()) keys[effect->name] = KeyOf(*effect);
    EXPECT_EQ(CaptionSide(*Started("Date and time")), std::pair(1, -1));  // bottom right at first
    chain().UnloadEffects();  // before the preference is on, so it saves nothing
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kEffectSettingsRoot, "RememberFilterSettings", 1));
    for (const Setting& s : kSettings) WriteRegDword(HKEY_LOCAL_MACHINE, keys[s.effect].c_str(), s.value, s.kept);
    Load(ProgramDir());  // reads the values written above
    EXPECT_EQ(CaptionSide(*Started("Date and time")), std::pair(-1, 1));  // Corner 2: top left
    for (Effect* effect : Bundled()) {
        const char* key = keys[effect->name].c_str();
        bool configurable = false;
        for (const Setting& s : kSettings) {
            if (std::strcmp(s.effect, effect->name) != 0) continue;
            configurable = true;
            WriteRegDword(HKEY_LOCAL_MACHINE, key, s.value, s.outOfRange);
        }
        EXPECT_EQ(effect->IsConfigurable(), configurable) << effect->name;
        if (!configurable) continue;
        // Values out of range, and then no values at all, leave the current ones.
        effect->LoadSettings(HKEY_LOCAL_MACHINE, key);
        DeleteRegKey(HKEY_LOCAL_MACHINE, key);
        effect->LoadSettings(HKEY_LOCAL_MACHINE, key);
    }
    chain().UnloadEffects();  // saves the effects' settings afresh
    for (const Setting& s : kSettings) {
        EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, keys[s.effect].c_str(), s.value, 12345), s.kept)
            << s.effect << " " << s.value;
    }
}

// Answers the options dialog that `effect` opens over `owner`: sets its first number box
// to `number` and presses OK, or Cancel. Fails when no dialog belongs to the owner.
bool AnswerOptions(Effect& effect, QWidget& owner, int number, bool accept) {
    effect.ownerWindow = &owner;
    bool found = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = owner.findChild<QDialog*>();
        if (!dialog) {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            return;
        }
        found = dialog->isModal() && dialog->isVisible();
        if (auto* box = dialog->findChild<QSpinBox*>()) box->setValue(number);
        accept ? dialog->accept() : dialog->reject();
    });
    const bool accepted = effect.ShowOptions();
    EXPECT_TRUE(found) << "no modal dialog over the owner";
    return accepted;
}

TEST_F(BundledPluginsTest, OptionsDialogOpensOverTheOwnerAndAppliesOnlyOnOk) {
    Effect* pixelate = Started("Pixelate");
    ASSERT_NE(pixelate, nullptr);
    QWidget owner;
    const std::string key = KeyOf(*pixelate);
    const auto saved = [&] {
        pixelate->SaveSettings(HKEY_LOCAL_MACHINE, key.c_str());
        return ReadRegDword(HKEY_LOCAL_MACHINE, key.c_str(), "BlockSize", 0);
    };
    const std::uint32_t before = saved();
    EXPECT_FALSE(AnswerOptions(*pixelate, owner, before + 3, false));
    EXPECT_EQ(saved(), before);
    EXPECT_TRUE(AnswerOptions(*pixelate, owner, before + 3, true));
    EXPECT_EQ(saved(), before + 3);
    pixelate->ownerWindow = nullptr;
}

}  // namespace
}  // namespace lumora::test
