#include "cli/effect_cycler.h"

#include "cli/effect_activation.h"
#include "video/capture_device_list.h"

namespace lumora::cli {

EffectCycler::EffectCycler(EffectChain& chain, const CaptureDeviceList& devices, double periodSeconds)
        : chain_(chain), devices_(devices), period_(periodSeconds) {}

std::optional<std::string> EffectCycler::Advance(double elapsedSeconds) {
    const std::size_t count = chain_.EffectCount();
    if (count == 0 || elapsedSeconds < static_cast<double>(steps_ + 1) * period_) return std::nullopt;
    const auto id = static_cast<EffectId>(steps_ / 2 % count + 1);
    const bool on = steps_ % 2 == 0;
    ++steps_;
    return on ? SwitchOn(id) : SwitchOff(id);
}

std::string EffectCycler::SwitchOn(EffectId id) {
    switchedOn_ = false;
    if (chain_.IsEffectActive(id)) return Describe(id) + " stays on";
    EffectRequest request;
    request.kind = EffectRequest::Kind::kNumber;
    request.number = static_cast<int>(id);
    if (id == chain_.pipEffectId()) {
        if (devices_.DeviceAt(0) == nullptr) return Describe(id) + " passed over: there is no capture device";
        request.kind = EffectRequest::Kind::kPictureInPicture;
        request.pipDevice = 0;
    }
    const EffectActivation::Outcome outcome = EffectActivation::Activate(chain_, request, devices_);
    if (outcome.result != EffectActivation::Result::kStarted) return Describe(id) + " not started: " + outcome.text;
    switchedOn_ = true;
    return Describe(id) + " on";
}

std::string EffectCycler::SwitchOff(EffectId id) {
    if (!switchedOn_) return Describe(id) + " left as it was";
    chain_.DeactivateEffect(id);
    switchedOn_ = false;
    return Describe(id) + " off";
}

std::string EffectCycler::Describe(EffectId id) const {
    const Effect* effect = chain_.FindEffect(id);
    return "lumora-cli: effect " + std::to_string(id) + " \"" + (effect ? effect->name : "") + "\"";
}

}  // namespace lumora::cli
