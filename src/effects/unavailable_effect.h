// UnavailableEffect: holds the number, name and identifier of a built-in effect whose
// implementation is not in this build, so the numbering of the others stays right. It
// never starts (Start answers kEffectFailed, which the panels report) and never changes a
// frame.
//
// Threads and lifetime: as every effect; it keeps no state.
#pragma once

#include <lumora/effect.h>

namespace lumora {

class UnavailableEffect final : public Effect {
public:
    UnavailableEffect(const char* displayName, const char* identifier, EffectLayer effectLayer) noexcept;

    std::int32_t Start() override;
    bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) override;
};

}  // namespace lumora
