#include "common/effect_list.h"

namespace lumora::plugins {

void EffectList::Describe(PluginRecord& record) const noexcept {
    record.animationCount = static_cast<std::int32_t>(effects_.size());
}

Effect* EffectList::Hand(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= effects_.size()) return nullptr;
    PluginEffect* effect = effects_[static_cast<std::size_t>(index)];
    effect->PrepareIcon();
    return effect;
}

}  // namespace lumora::plugins
