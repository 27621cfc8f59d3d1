#include "cli/effect_activation.h"

#include "effects/all_builtin_effects.h"
#include "effects/color_filter_effect.h"
#include "effects/effect_chain.h"
#include "effects/face_tracking_effect.h"
#include "effects/picture_in_picture_effect.h"
#include "effects/zoom_effect.h"
#include "video/capture_device_list.h"

#include <QString>

namespace lumora::cli {
namespace {

constexpr char kStartFailed[] = "Couldn't start specified animation effect!";
constexpr char kFaceFailed[] = "Couldn't initialize face detection/tracking library!";

EffectId Resolve(const EffectChain& chain, const EffectRequest& request) {
    switch (request.kind) {
        case EffectRequest::Kind::kZoom: return chain.zoomEffectId();
        case EffectRequest::Kind::kColorFilter: return chain.colorFilterEffectId();
        case EffectRequest::Kind::kFace: return chain.faceTrackingEffectId();
        case EffectRequest::Kind::kPictureInPicture: return chain.pipEffectId();
        case EffectRequest::Kind::kNumber:
            return chain.FindEffect(static_cast<EffectId>(request.number)) ? static_cast<EffectId>(request.number) : 0;
        case EffectRequest::Kind::kName: return EffectActivation::FindByName(chain, request.name);
    }
    return 0;
}

bool ConfigurePictureInPicture(PictureInPictureEffect& pip, const EffectRequest& request,
                               const CaptureDeviceList& devices) {
    pip.SetDeviceList(&devices);
    PipSettings settings = pip.settings();
    settings.deviceIndex = request.pipDevice;
    settings.position = request.pipPosition.value_or(settings.position);
    settings.size = request.pipSize.value_or(settings.size);
    settings.margin = request.pipMargin.value_or(settings.margin);
    return pip.SetSettings(settings);
}

// The settings the request carries go into the built-in effect before it starts. False
// when the effect refused them.
bool Configure(Effect* effect, const EffectRequest& request, const CaptureDeviceList& devices) {
    switch (request.kind) {
        case EffectRequest::Kind::kZoom:
            if (auto* zoom = dynamic_cast<ZoomEffect*>(effect)) {
                zoom->SetFactor(request.zoomFactor);
                zoom->SetOffset(request.offsetX, request.offsetY);
            }
            break;
        case EffectRequest::Kind::kColorFilter:
            if (auto* filter = dynamic_cast<ColorFilterEffect*>(effect)) {
                filter->SetLevels(request.red, request.green, request.blue);
            }
            break;
        case EffectRequest::Kind::kFace:
            if (auto* face = dynamic_cast<FaceTrackingEffect*>(effect); face && request.faceAmount) {
                return face->SetZoomAmount(*request.faceAmount);
            }
            break;
        case EffectRequest::Kind::kPictureInPicture:
            if (auto* pip = dynamic_cast<PictureInPictureEffect*>(effect)) {
                return ConfigurePictureInPicture(*pip, request, devices);
            }
            break;
        case EffectRequest::Kind::kNumber:
        case EffectRequest::Kind::kName: break;
    }
    return true;
}

}  // namespace

EffectActivation::Outcome EffectActivation::Activate(EffectChain& chain, const EffectRequest& request,
                                                    const CaptureDeviceList& devices) {
    const EffectId id = Resolve(chain, request);
    Effect* effect = id != 0 ? chain.FindEffect(id) : nullptr;
    if (effect == nullptr) {
        const std::string which = request.kind == EffectRequest::Kind::kNumber ? std::to_string(request.number)
                                                                              : request.name;
        return {Result::kUnknown, "unknown effect \"" + which + "\" (lumora-cli effects lists them)"};
    }
    if (request.kind == EffectRequest::Kind::kPictureInPicture && devices.DeviceAt(request.pipDevice) == nullptr) {
        return {Result::kFailed, "there is no capture device " + std::to_string(request.pipDevice)};
    }
    if (!Configure(effect, request, devices)) return {Result::kFailed, "the effect refused its settings"};
    const std::int32_t started = chain.ActivateEffect(id);
    if (started != kEffectStarted) {
        return {Result::kFailed, request.kind == EffectRequest::Kind::kFace ? kFaceFailed : kStartFailed};
    }
    return {};
}

void EffectActivation::SetLocator(const EffectChain& chain, bool show) {
    if (FaceTrackingEffect* face = FindFaceTrackingEffect(chain)) face->SetShowLocator(show);
}

EffectId EffectActivation::FindByName(const EffectChain& chain, const std::string& text) {
    const QString wanted = QString::fromStdString(text);
    const std::vector<Effect*>& effects = chain.Effects();
    for (std::size_t i = 0; i < effects.size(); ++i) {
        const Effect* effect = effects[i];
        if (effect == nullptr) continue;
        if (wanted.compare(QString::fromUtf8(effect->name), Qt::CaseInsensitive) == 0 ||
            wanted.compare(QString::fromLatin1(effect->guid), Qt::CaseInsensitive) == 0) {
            return static_cast<EffectId>(i + 1);
        }
    }
    return 0;
}

}  // namespace lumora::cli
