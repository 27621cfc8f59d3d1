#include "effects/effect_settings.h"

#include <lumora/registry.h>

#include <cstring>

namespace lumora {

namespace {

constexpr char kRememberFilterSettings[] = "RememberFilterSettings";

}  // namespace

bool EffectSettings::IsRemembered() noexcept {
    return ReadRegDword(HKEY_LOCAL_MACHINE, kEffectSettingsRoot, kRememberFilterSettings, 0) != 0;
}

std::string EffectSettings::KeyPath(const Effect& effect) {
    return std::string(kEffectSettingsRoot) + "\\" +
           std::string(effect.guid, ::strnlen(effect.guid, sizeof effect.guid));
}

void EffectSettings::Load(Effect& effect) {
    if (!IsRemembered() || !effect.IsConfigurable()) return;
    effect.LoadSettings(HKEY_LOCAL_MACHINE, KeyPath(effect).c_str());
}

void EffectSettings::Replace(Effect& effect) {
    if (!effect.IsConfigurable()) return;
    const std::string path = KeyPath(effect);
    DeleteRegKey(HKEY_LOCAL_MACHINE, path.c_str());
    effect.SaveSettings(HKEY_LOCAL_MACHINE, path.c_str());
}

}  // namespace lumora
