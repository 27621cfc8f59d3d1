#include "cli/effect_activation.h"

#include "effects/all_builtin_effects.h"
#include "effects/color_filter_effect.h"
#include "effects/effect_chain.h"
#include "effects/face_tracking_effect.h"
#include "effects/picture_in_picture_effect.h"
#include "effects/zoom_effect.h"
#include "video/capture_device_list.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace lumora::cli {
namespace {

constexpr char kStartFailed[] = "Couldn't start specified animation effect!";
constexpr char kFaceFailed[] = "Couldn't initialize face detection/tracking library!";

// Whether `name`, or one of its words (split at anything but letters and digits), starts
// with `text`, in any case.
bool StartsNameOrWord(const QString& name, const QString& text) {
    if (name.startsWith(text, Qt::CaseInsensitive)) return true;
    static const QRegularExpression kBetweenWords(QStringLiteral("[^\\p{L}\\p{N}]+"));
    const QStringList words = name.split(kBetweenWords, Qt::SkipEmptyParts);
    return std::any_of(words.begin(), words.end(),
                       [&text](const QString& word) { return word.startsWith(text, Qt::CaseInsensitive); });
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

std::string NoMatchText(const std::string& text, const EffectActivation::NameMatch& match) {
    if (match.ambiguous) return "effect \"" + text + "\" is ambiguous: " + JoinNames(match.candidates);
    return "unknown effect \"" + text + "\"; the effects are: " + JoinNames(match.candidates);
}

// The effect a request names, or 0 with `unknown` saying why there is none.
EffectId Resolve(const EffectChain& chain, const EffectRequest& request, std::string* unknown) {
    switch (request.kind) {
        case EffectRequest::Kind::kZoom: return chain.zoomEffectId();
        case EffectRequest::Kind::kColorFilter: return chain.colorFilterEffectId();
        case EffectRequest::Kind::kFace: return chain.faceTrackingEffectId();
        case EffectRequest::Kind::kPictureInPicture: return chain.pipEffectId();
        case EffectRequest::Kind::kNumber:
            if (chain.FindEffect(static_cast<EffectId>(request.number))) return static_cast<EffectId>(request.number);
            *unknown = "there is no effect " + std::to_string(request.number) + " (lumora-cli effects lists them)";
            return 0;
        case EffectRequest::Kind::kName: {
            const EffectActivation::NameMatch match = EffectActivation::FindByName(chain, request.name);
            if (match.id == 0) *unknown = NoMatchText(request.name, match);
            return match.id;
        }
    }
    return 0;
}

bool ConfigurePictureInPicture(PictureInPictureEffect& pip, const EffectRequest& request) {
    PipSettings settings = pip.settings();
    settings.deviceIndex = request.pipDevice;
    settings.position = request.pipPosition.value_or(settings.position);
    settings.size = request.pipSize.value_or(settings.size);
    settings.margin = request.pipMargin.value_or(settings.margin);
    return pip.SetSettings(settings);
}

// The settings the request carries go into the built-in effect before it starts. False
// when the effect refused them.
bool Configure(Effect* effect, const EffectRequest& request) {
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
                return ConfigurePictureInPicture(*pip, request);
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
    std::string unknown;
    const EffectId id = Resolve(chain, request, &unknown);
    Effect* effect = id != 0 ? chain.FindEffect(id) : nullptr;
    if (effect == nullptr) return {Result::kUnknown, unknown.empty() ? "that effect is not loaded" : unknown};
    if (request.kind == EffectRequest::Kind::kPictureInPicture && devices.DeviceAt(request.pipDevice) == nullptr) {
        return {Result::kFailed, "there is no capture device " + std::to_string(request.pipDevice)};
    }
    if (!Configure(effect, request)) return {Result::kFailed, "the effect refused its settings"};
    const std::int32_t started = chain.ActivateEffect(id);
    if (started != kEffectStarted) {
        return {Result::kFailed, request.kind == EffectRequest::Kind::kFace ? kFaceFailed : kStartFailed};
    }
    return {};
}

void EffectActivation::SetLocator(const EffectChain& chain, bool show) {
    if (FaceTrackingEffect* face = FindFaceTrackingEffect(chain)) face->SetShowLocator(show);
}

EffectActivation::NameMatch EffectActivation::FindByName(const EffectChain& chain, const std::string& text) {
    const QString wanted = QString::fromStdString(text).trimmed();
    const std::vector<Effect*>& effects = chain.Effects();
    NameMatch match;
    std::vector<std::string> every;
    std::vector<EffectId> starting;
    for (std::size_t i = 0; i < effects.size(); ++i) {
        const Effect* effect = effects[i];
        if (effect == nullptr) continue;
        const QString name = QString::fromUtf8(effect->name);
        const auto id = static_cast<EffectId>(i + 1);
        if (wanted.compare(name, Qt::CaseInsensitive) == 0 ||
            wanted.compare(QString::fromLatin1(effect->guid), Qt::CaseInsensitive) == 0) {
            return {id, false, {}};
        }
        every.push_back(effect->name);
        if (!wanted.isEmpty() && StartsNameOrWord(name, wanted)) {
            starting.push_back(id);
            match.candidates.push_back(effect->name);
        }
    }
    if (starting.size() == 1) return {starting.front(), false, {}};
    match.ambiguous = !starting.empty();
    if (!match.ambiguous) match.candidates = std::move(every);
    return match;
}

}  // namespace lumora::cli
