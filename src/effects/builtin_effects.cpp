#include "effects/builtin_effects.h"

#include "effects/color_filter_effect.h"
#include "effects/unavailable_effect.h"
#include "effects/zoom_effect.h"

#include <lumora/zimage.h>

namespace lumora {

BuiltinEffects CreateDefaultBuiltinEffects() {
    BuiltinEffects effects;
    effects.zoom = MakeOwnedEffect<ZoomEffect>();
    effects.colorFilter = MakeOwnedEffect<ColorFilterEffect>();
    effects.faceTracking =
        MakeOwnedEffect<UnavailableEffect>(kFaceTrackingEffectName, kFaceTrackingEffectGuid, kLayerPicture);
    effects.pictureInPicture =
        MakeOwnedEffect<UnavailableEffect>(kPictureInPictureEffectName, kPictureInPictureEffectGuid, kLayerInset);
    effects.pictureInPictureIcon = CreatePictureInPictureIcon();
    return effects;
}

std::unique_ptr<Bitmap> CreatePictureInPictureIcon() {
    constexpr std::int32_t kSize = 32;
    std::unique_ptr<Bitmap> icon = Bitmap::Create(kSize, kSize);
    if (!icon) return nullptr;
    std::uint8_t* p = icon->data();
    // Colours are 0x00BBGGRR. The main picture: a dark frame around a blue-grey field.
    ZImage_Fill(p, kSize, kSize, kSize, kSize, 0, 0, 0x00404040, 0);
    ZImage_Fill(p, kSize, kSize, kSize - 4, kSize - 4, 2, 2, 0x00A08060, 0);
    // The inset: a white border around a warm picture, upper right (y counts from the bottom).
    ZImage_Fill(p, kSize, kSize, 14, 11, 16, 19, 0x00FFFFFF, 0);
    ZImage_Fill(p, kSize, kSize, 12, 9, 17, 20, 0x0050A0E0, 0);
    return icon;
}

}  // namespace lumora
