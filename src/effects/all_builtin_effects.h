// The factory of all four built-in effects, for EffectChain::LoadEffects: the zoom and
// the colour filter of CreateDefaultBuiltinEffects, the face-tracking zoom (place 3) and
// picture-in-picture (place 4). The session of both front ends passes it to its chain:
//
//   EffectChain chain(ProgramFolder(), CreateAllBuiltinEffects);
//   chain.LoadEffects();
//   if (auto* pip = FindPictureInPictureEffect(chain)) pip->SetCameraCatalogue(&cameras);
//
// and reach the two effects' own settings through the finders below.
#pragma once

#include "effects/builtin_effects.h"

namespace lumora {

class EffectChain;
class FaceTrackingEffect;
class PictureInPictureEffect;

BuiltinEffects CreateAllBuiltinEffects();

// The chain's face-tracking and picture-in-picture effects, or null when the chain holds
// none (nothing loaded, or a stand-in in their place).
FaceTrackingEffect* FindFaceTrackingEffect(const EffectChain& chain) noexcept;
PictureInPictureEffect* FindPictureInPictureEffect(const EffectChain& chain) noexcept;

}  // namespace lumora
