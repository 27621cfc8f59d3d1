// The chain's built-in effects whose settings the panels change, or null when the chain
// holds none there (nothing loaded, or a stand-in in the place). The face-tracking and
// picture-in-picture finders are the chain's own (all_builtin_effects.h).
#pragma once

#include "effects/all_builtin_effects.h"
#include "effects/effect_chain.h"

namespace lumora {

class ColorFilterEffect;
class ZoomEffect;

ColorFilterEffect* FindColorFilterEffect(const EffectChain& chain) noexcept;
ZoomEffect* FindZoomEffect(const EffectChain& chain) noexcept;

}  // namespace lumora
