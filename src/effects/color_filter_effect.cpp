#include "effects/color_filter_effect.h"

#include "effects/builtin_effects.h"

#include <lumora/zimage.h>

namespace lumora {

ColorFilterEffect::ColorFilterEffect() noexcept
    : Effect(kColorFilterEffectName, kColorFilterEffectGuid, kLayerPicture) {}

bool ColorFilterEffect::ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double) {
    if (!pixels) return false;
    ZImage_ColorFilter(pixels, width, height, width, height, 0, 0, red_.load(), green_.load(), blue_.load());
    return true;
}

std::int32_t ColorFilterEffect::NormalizeLevel(std::int32_t level) noexcept {
    return level < kMinLevel || level > kMaxLevel ? kNeutralLevel : level;
}

void ColorFilterEffect::SetLevels(std::int32_t red, std::int32_t green, std::int32_t blue) noexcept {
    red_.store(red);
    green_.store(green);
    blue_.store(blue);
}

bool ColorFilterEffect::IsNeutral() const noexcept {
    return red_.load() == kNeutralLevel && green_.load() == kNeutralLevel && blue_.load() == kNeutralLevel;
}

}  // namespace lumora
