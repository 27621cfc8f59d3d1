#include "bundled_plugins_fixture.h"

#include <lumora/registry.h>

#include <QApplication>
#include <QDialog>
#include <QSpinBox>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <map>

namespace lumora::test {
namespace {

struct Setting {
    const char* value;
    std::uint32_t kept;  // a valid value other than the one an effect starts with
    std::uint32_t outOfRange;
};

struct ConfigurableEffect {
    const char* name;
    std::vector<Setting> settings;
};

const ConfigurableEffect kConfigurable[] = {
    {"Falling snow", {{"Amount", 350, 5000}, {"Speed", 8, 0}}},
    {"Date and time", {{"Corner", 2, 4}, {"ShowDate", 0, 7}}},
    {"Pixelate", {{"BlockSize", 20, 1}}},
};

// Where the caption put its white text on a black frame: -1, 0 or 1 for left/right of
// the middle and below/above it; 0 when it drew nowhere or on both sides.
std::pair<int, int> CaptionSide(Effect& caption) {
    TestFrame frame(640, 480);
    caption.ProcessFrame(frame.data(), 640, 480, 0);
    bool left = false, right = false, below = false, above = false;
    for (std::int32_t y = 0; y < frame.height; ++y) {
        for (std::int32_t x = 0; x < frame.width; ++x) {
            if (frame.pixel(x, y)[0] < 128) continue;
            (x < 320 ? left : right) = true;
            (y < 240 ? below : above) = true;
        }
    }
    return {left == right ? 0 : (left ? -1 : 1), below == above ? 0 : (below ? -1 : 1)};
}

TEST_F(BundledPluginsTest, ConfigurableEffectsKeepTheirSettingsBetweenRuns) {
    std::map<std::string, std::string> keys;  // effect name -> settings key
    for (const Effect* effect : Bundled()) keys[effect->name] = KeyOf(*effect);
    chain().UnloadEffects();  // before the preference is on, so it saves nothing
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kEffectSettingsRoot, "RememberFilterSettings", 1));
    for (const ConfigurableEffect& configurable : kConfigurable) {
        for (const Setting& setting : configurable.settings) {
            WriteRegDword(HKEY_LOCAL_MACHINE, keys[configurable.name].c_str(), setting.value, setting.kept);
        }
    }
    Load(ProgramDir());  // reads the values written above
    for (Effect* effect : Bundled()) {
        const auto named = [effect](const ConfigurableEffect& c) { return std::strcmp(c.name, effect->name) == 0; };
        const auto* configurable = std::find_if(std::begin(kConfigurable), std::end(kConfigurable), named);
        EXPECT_EQ(effect->IsConfigurable(), configurable != std::end(kConfigurable)) << effect->name;
        if (configurable == std::end(kConfigurable)) continue;
        // Values out of range, and then no values at all, leave the current ones.
        const char* key = keys[effect->name].c_str();
        for (const Setting& setting : configurable->settings) {
            WriteRegDword(HKEY_LOCAL_MACHINE, key, setting.value, setting.outOfRange);
        }
        effect->LoadSettings(HKEY_LOCAL_MACHINE, key);
        DeleteRegKey(HKEY_LOCAL_MACHINE, key);
        effect->LoadSettings(HKEY_LOCAL_MACHINE, key);
    }
    chain().UnloadEffects();  // saves the effects' settings afresh
    for (const ConfigurableEffect& configurable : kConfigurable) {
        for (const Setting& setting : configurable.settings) {
            EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, keys[configurable.name].c_str(), setting.value, 12345),
                      setting.kept)
                << configurable.name << " " << setting.value;
        }
    }
}

TEST_F(BundledPluginsTest, CaptionGoesToTheCornerOfItsSetting) {
    Effect* caption = Started("Date and time");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(CaptionSide(*caption), std::pair(1, -1));  // bottom right at first
    const std::string key = KeyOf(*caption);
    WriteRegDword(HKEY_LOCAL_MACHINE, key.c_str(), "Corner", 2);
    caption->LoadSettings(HKEY_LOCAL_MACHINE, key.c_str());
    EXPECT_EQ(CaptionSide(*caption), std::pair(-1, 1));  // top left
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
