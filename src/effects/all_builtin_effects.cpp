#include "effects/all_builtin_effects.h"

#include "effects/effect_chain.h"
#include "effects/face_tracking_effect.h"
#include "effects/picture_in_picture_effect.h"

namespace lumora {

BuiltinEffects CreateAllBuiltinEffects() {
    BuiltinEffects effects = CreateDefaultBuiltinEffects();
    effects.faceTracking = MakeOwnedEffect<FaceTrackingEffect>();
    effects.pictureInPicture = MakeOwnedEffect<PictureInPictureEffect>();
    return effects;
}

FaceTrackingEffect* FindFaceTrackingEffect(const EffectChain& chain) noexcept {
    return dynamic_cast<FaceTrackingEffect*>(chain.FindEffect(chain.faceTrackingEffectId()));
}

PictureInPictureEffect* FindPictureInPictureEffect(const EffectChain& chain) noexcept {
    return dynamic_cast<PictureInPictureEffect*>(chain.FindEffect(chain.pipEffectId()));
}

}  // namespace lumora
