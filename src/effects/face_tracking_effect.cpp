#include "effects/face_tracking_effect.h"

#include "effects/builtin_effects.h"

#include <cmath>
#include <utility>

namespace lumora {

FaceTrackingEffect::FaceTrackingEffect(std::string cascadePath)
    : Effect(kFaceTrackingEffectName, kFaceTrackingEffectGuid, kLayerPicture), tracker_(std::move(cascadePath)) {}

std::int32_t FaceTrackingEffect::Start() {
    bool started;
    {
        std::lock_guard<std::mutex> guard(lock_);
        started = tracker_.Start();
    }
    if (!started) return kEffectFailed;
    Reset();
    return kEffectStarted;
}

void FaceTrackingEffect::Reset() {
    std::lock_guard<std::mutex> guard(lock_);
    tracker_.ForgetFace();
    initialised_ = false;
}

bool FaceTrackingEffect::SetZoomAmount(std::int32_t amount) noexcept {
    if (amount < kMinZoomAmount || amount > kMaxZoomAmount) return false;
    zoom_.SetAmount(amount);
    return true;
}

FaceTrackingEffect::ZoomState FaceTrackingEffect::zoomState() {
    std::lock_guard<std::mutex> guard(lock_);
    return {zoom_.factor(), zoom_.offsetX(), zoom_.offsetY(), faceFound_, face_};
}

bool FaceTrackingEffect::ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) {
    if (!pixels) return false;
    std::lock_guard<std::mutex> guard(lock_);
    if (!initialised_) {
        zoom_.Reinitialise();
        faceFound_ = false;
        nextRefresh_ = time + kRefreshInterval;
        initialised_ = true;
    }
    tracker_.Feed(pixels, width, height);
    // The zoom works with the face of the last refresh.
    zoom_.Apply(pixels, width, height);
    if (time < nextRefresh_) return true;

    faceFound_ = tracker_.GetFace(face_, width, height);
    zoom_.SetFace(face_, faceFound_);
    if (!faceFound_) initialised_ = false;  // the next frame starts again at 1.0x
    // The next refresh is the first interval boundary after this frame, however far the
    // stream time jumped.
    const double behind = std::floor((time - nextRefresh_) / kRefreshInterval) + 1.0;
    nextRefresh_ += (std::isfinite(behind) ? behind : 1.0) * kRefreshInterval;
    if (!(nextRefresh_ > time)) nextRefresh_ = time + kRefreshInterval;
    return true;
}

}  // namespace lumora
