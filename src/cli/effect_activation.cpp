#include "cli/effect_activation.h"

#include "effects/color_filter_effect.h"
#include "effects/effect_chain.h"
#include "effects/zoom_effect.h"

#include <QString>

namespace lumora::cli {
namespace {

constexpr char kStartFailed[] = "Couldn't start specified animation effect!";

EffectId Resolve(const EffectChain& chain, const EffectRequest& request) {
    switch (request.kind) {
        case EffectRequest::Kind::kZoom: return chain.zoomEffectId();
        case EffectRequest::Kind::kColorFilter: return chain.colorFilterEffectId();
        case EffectRequest::Kind::kNumber:
            return chain.FindEffect(static_cast<EffectId>(request.number)) ? static_cast<EffectId>(request.number) : 0;
        case EffectRequest::Kind::kName: return EffectActivation::FindByName(chain, request.name);
    }
    return 0;
}

// The settings the request carries go into the built-in effect before it starts.
void Configure(Effect* effect, const EffectRequest& request) {
    if (request.kind == EffectRequest::Kind::kZoom) {
        if (auto* zoom = dynamic_cast<ZoomEffect*>(effect)) {
            zoom->SetFactor(request.zoomFactor);
            zoom->SetOffset(request.offsetX, request.offsetY);
        }
    } else if (request.kind == EffectRequest::Kind::kColorFilter) {
        if (auto* filter = dynamic_cast<ColorFilterEffect*>(effect)) {
            filter->SetLevels(request.red, request.green, request.blue);
        }
    }
}

}  // namespace

EffectActivation::Outcome EffectActivation::Activate(EffectChain& chain, const EffectRequest& request) {
    const EffectId id = Resolve(chain, request);
    Effect* effect = id != 0 ? chain.FindEffect(id) : nullptr;
    if (effect == nullptr) {
        const std::string which = request.kind == EffectRequest::Kind::kNumber ? std::to_string(request.number)
                                                                              : request.name;
        return {Result::kUnknown, "unknown effect \"" + which + "\" (lumora-cli effects lists them)"};
    }
    Configure(effect, request);
    const std::int32_t started = chain.ActivateEffect(id);
    if (started != kEffectStarted) return {Result::kFailed, kStartFailed};
    return {};
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
