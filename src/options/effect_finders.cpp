#include "options/effect_finders.h"

#include "effects/color_filter_effect.h"
#include "effects/zoom_effect.h"

namespace lumora {

ColorFilterEffect* FindColorFilterEffect(const EffectChain& chain) noexcept {
    return dynamic_cast<ColorFilterEffect*>(chain.FindEffect(chain.colorFilterEffectId()));
}

ZoomEffect* FindZoomEffect(const EffectChain& chain) noexcept {
    return dynamic_cast<ZoomEffect*>(chain.FindEffect(chain.zoomEffectId()));
}

}  // namespace lumora
