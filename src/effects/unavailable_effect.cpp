#include "effects/unavailable_effect.h"

namespace lumora {

UnavailableEffect::UnavailableEffect(const char* displayName, const char* identifier,
                                     EffectLayer effectLayer) noexcept
    : Effect(displayName, identifier, effectLayer) {}

std::int32_t UnavailableEffect::Start() { return kEffectFailed; }

bool UnavailableEffect::ProcessFrame(std::uint8_t*, std::int32_t, std::int32_t, double) { return false; }

}  // namespace lumora
