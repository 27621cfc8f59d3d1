#include "options/zoom_control.h"

#include "effects/face_tracking_effect.h"
#include "effects/zoom_effect.h"
#include "options/effect_finders.h"

namespace lumora {
namespace {

constexpr std::int32_t kMinAmount = FaceTrackingEffect::kMinZoomAmount;
constexpr std::int32_t kMaxAmount = FaceTrackingEffect::kMaxZoomAmount;

const char* AmountName(std::int32_t amount) {
    switch (amount) {
        case FaceFollowingZoom::kAmountLittle: return "little";
        case FaceFollowingZoom::kAmountMedium: return "medium";
        case FaceFollowingZoom::kAmountBig: return "big";
        case FaceFollowingZoom::kAmountBiggest: return "biggest";
        default: return nullptr;
    }
}

}  // namespace

bool ZoomControl::FaceTrackingActive() const { return chain_.IsEffectActive(chain_.faceTrackingEffectId()); }

FaceTrackingEffect* ZoomControl::ActiveFace() const {
    return FaceTrackingActive() ? FindFaceTrackingEffect(chain_) : nullptr;
}

void ZoomControl::Step(int direction) {
    if (FaceTrackingEffect* face = ActiveFace()) {
        StepFace(*face, direction);
    } else {
        StepManual(direction);
    }
}

void ZoomControl::StepFace(FaceTrackingEffect& face, int direction) {
    const std::int32_t amount = face.zoomAmount();
    if (direction < 0 && amount > kMinAmount) face.SetZoomAmount(amount - 1);
    if (direction > 0 && amount < kMaxAmount) face.SetZoomAmount(amount + 1);
    if (direction == 0) face.SetZoomAmount(kMaxAmount);
    ShowFaceAmount(face);
}

void ZoomControl::StepManual(int direction) {
    ZoomEffect* zoom = FindZoomEffect(chain_);
    if (direction == 0 || zoom == nullptr) return EndManualZoom();
    const std::int32_t factor = zoom->factor() + direction * ZoomEffect::kFactorStep;
    if (direction > 0 && factor > ZoomEffect::kMaxFactor) return;  // it stops at 4.0x
    if (direction < 0 && factor <= ZoomEffect::kMinFactor) return EndManualZoom();
    shown_ = factor;
    zoom->SetFactor(factor);
    chain_.ActivateEffect(chain_.zoomEffectId());
}

void ZoomControl::Default() {
    if (FaceTrackingEffect* face = ActiveFace()) {
        face->SetZoomAmount(kMaxAmount);
        ShowFaceAmount(*face);
    } else {
        EndManualZoom();
    }
}

ZoomControl::FaceSwitch ZoomControl::ToggleFaceTracking() {
    const EffectId id = chain_.faceTrackingEffectId();
    FaceSwitch result;
    if (FaceTrackingActive()) {
        chain_.DeactivateEffect(id);
    } else {
        result.failed = chain_.ActivateEffect(id) != kEffectStarted;
    }
    result.active = FaceTrackingActive();
    if (result.failed) return result;
    if (FaceTrackingEffect* face = ActiveFace()) {
        face->SetZoomAmount(kMaxAmount);
        ShowFaceAmount(*face);
    } else {
        EndManualZoom();
    }
    return result;
}

void ZoomControl::SetShowLocator(bool show) {
    if (FaceTrackingEffect* face = FindFaceTrackingEffect(chain_)) face->SetShowLocator(show);
}

QString ZoomControl::Text(bool faceChecked) const {
    if (const FaceTrackingEffect* face = faceChecked ? ActiveFace() : nullptr) {
        if (const char* name = AmountName(face->zoomAmount())) return QString("Zoom: %1").arg(name);
    }
    return QString::asprintf("Zoom: x%.2f", shown_ / 256.0);
}

void ZoomControl::ShowFaceAmount(const FaceTrackingEffect& face) { shown_ = face.zoomAmount() * 256 / 10; }

void ZoomControl::EndManualZoom() {
    shown_ = kShownAtRest;
    chain_.DeactivateEffect(chain_.zoomEffectId());
}

}  // namespace lumora
