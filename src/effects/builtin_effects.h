// The four built-in effects, created by a factory the EffectChain calls in LoadEffects.
//
// The chain registers them before any plug-in, in this order, so their numbers are
// always 1 zoom, 2 RGB colour filter, 3 face-tracking zoom, 4 picture-in-picture, and
// plug-in effects start at 5. CreateDefaultBuiltinEffects makes the zoom and the colour
// filter and holds places 3 and 4 with UnavailableEffect; the face tracking and
// picture-in-picture code passes a factory of its own that fills them (and may reuse
// this one for the first two). A slot left null is filled with an UnavailableEffect by
// the chain, so the numbering never shifts.
//
// Ownership: the chain owns what the factory returns and destroys it when it is
// destroyed or loads its effects again.
#pragma once

#include "effects/owned_effect.h"

#include <lumora/bitmap.h>

#include <functional>
#include <memory>

namespace lumora {

inline constexpr char kZoomEffectName[] = "Zoom";
inline constexpr char kZoomEffectGuid[] = "1BA87460-8253-4256-B22A-0229A8903BA8";
inline constexpr char kColorFilterEffectName[] = "RGB filter";
inline constexpr char kColorFilterEffectGuid[] = "E9D16C67-D4DC-4950-B922-CCFF2F419B77";
inline constexpr char kFaceTrackingEffectName[] = "Face tracking";
inline constexpr char kFaceTrackingEffectGuid[] = "AB07EA63-1AD7-4835-90A0-4D6AACCEE2EB";
inline constexpr char kPictureInPictureEffectName[] = "Picture - in - picture";
inline constexpr char kPictureInPictureEffectGuid[] = "9FFBA7A9-17C1-4490-BC91-5273A4314C0E";

struct BuiltinEffects {
    OwnedEffect zoom;
    OwnedEffect colorFilter;
    OwnedEffect faceTracking;
    OwnedEffect pictureInPicture;
    // Given to the picture-in-picture effect as its `icon`; may be null.
    std::unique_ptr<Bitmap> pictureInPictureIcon;
};

using BuiltinEffectFactory = std::function<BuiltinEffects()>;

// ZoomEffect, ColorFilterEffect, stand-ins for face tracking and picture-in-picture, and
// the picture-in-picture icon.
BuiltinEffects CreateDefaultBuiltinEffects();

// The 32 x 32 picture shown beside "Picture - in - picture" in the effect list: a frame
// with a small inset in its upper right corner.
std::unique_ptr<Bitmap> CreatePictureInPictureIcon();

}  // namespace lumora
