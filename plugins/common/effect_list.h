// EffectList: the effects one bundled module offers, in the order of GetAnimation's
// index, and the answers its two exports give.
//
// It refers to the module's static effects and lives as long as they do. The exports
// run on the user-interface thread.
#pragma once

#include "common/plugin_effect.h"

#include <lumora/plugin.h>

#include <cstdint>
#include <span>

namespace lumora::plugins {

class EffectList {
public:
    explicit EffectList(std::span<PluginEffect* const> effects) noexcept : effects_(effects) {}

    // What GetPluginInfo writes: the number of effects.
    void Describe(PluginRecord& record) const noexcept;
    // What GetAnimation answers: effect `index` with its icon drawn, or null when there
    // is no such effect.
    Effect* Hand(std::int32_t index) const;

private:
    std::span<PluginEffect* const> effects_;
};

}  // namespace lumora::plugins
