// EffectSettings: where and when an effect's own settings are kept between runs.
//
// An effect that answers IsConfigurable keeps its values under HKEY_LOCAL_MACHINE in the
// key "SOFTWARE\Lumora\<guid>", but only while the user's "RememberFilterSettings"
// preference is on. With the preference off nothing is read, deleted or written, and
// IsConfigurable is not even asked. The preference is read from the registry at every
// call, as every preference is.
//
// Stateless. User-interface thread (the effect's Load/SaveSettings run there).
#pragma once

#include <lumora/effect.h>

#include <string>

namespace lumora {

class EffectSettings {
public:
    // "RememberFilterSettings" under "SOFTWARE\Lumora" reads non-zero.
    static bool IsRemembered() noexcept;

    // "SOFTWARE\Lumora\" + the guid, cut at the guid's 64 bytes.
    static std::string KeyPath(const Effect& effect);

    // LoadSettings from the effect's key, when the preference is on and the effect is
    // configurable.
    static void Load(Effect& effect);

    // For an effect that is configurable: deletes its key, then has it SaveSettings into
    // it, so only the values written now remain. The caller has checked the preference.
    static void Replace(Effect& effect);
};

}  // namespace lumora
