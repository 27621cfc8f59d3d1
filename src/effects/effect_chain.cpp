#include "effects/effect_chain.h"

#include "effects/effect_settings.h"
#include "effects/unavailable_effect.h"
#include "platform/program_paths.h"

#include <dlfcn.h>

#include <utility>

namespace lumora {

namespace {

constexpr EffectLayer kFirstLayer = 0;
constexpr EffectLayer kLastLayer = 3;

}  // namespace

EffectChain::EffectChain(std::string programFolder, BuiltinEffectFactory builtins)
    : programFolder_(std::move(programFolder)),
      imagesFolder_(programFolder_ + "images/"),
      makeBuiltins_(std::move(builtins)),
      programModule_(::dlopen(nullptr, RTLD_NOW)) {}

EffectChain::EffectChain() : EffectChain(ProgramFolder()) {}

EffectChain::~EffectChain() {
    UnloadEffects();
    if (programModule_) ::dlclose(programModule_);
}

void EffectChain::LoadEffects() {
    UnloadEffects();
    builtins_ = makeBuiltins_ ? makeBuiltins_() : BuiltinEffects{};
    RegisterBuiltins();
    plugins_.LoadFolder(programFolder_, [this](Effect* effect, void* module) { RegisterEffect(effect, module); });
    active_.Resize(effects_.size());
    frameEffects_.assign(effects_.size(), nullptr);
}

void EffectChain::RegisterBuiltins() {
    zoomEffectId_ = RegisterBuiltin(builtins_.zoom, kZoomEffectName, kZoomEffectGuid, kLayerPicture);
    colorFilterEffectId_ =
        RegisterBuiltin(builtins_.colorFilter, kColorFilterEffectName, kColorFilterEffectGuid, kLayerPicture);
    faceTrackingEffectId_ =
        RegisterBuiltin(builtins_.faceTracking, kFaceTrackingEffectName, kFaceTrackingEffectGuid, kLayerPicture);
    pipEffectId_ = RegisterBuiltin(builtins_.pictureInPicture, kPictureInPictureEffectName,
                                   kPictureInPictureEffectGuid, kLayerInset);
    if (Effect* pip = FindEffect(pipEffectId_)) pip->icon = builtins_.pictureInPictureIcon.get();
}

// A missing built-in is replaced by a stand-in, so the numbers of the others never shift.
EffectId EffectChain::RegisterBuiltin(OwnedEffect& effect, const char* name, const char* guid, EffectLayer layer) {
    if (!effect) effect = MakeOwnedEffect<UnavailableEffect>(name, guid, layer);
    return RegisterEffect(effect.get(), programModule_);
}

EffectId EffectChain::RegisterEffect(Effect* effect, void* module) {
    if (!effect) return 0;
    try {
        effects_.push_back(effect);
    } catch (...) {
        return 0;
    }
    // Whatever a module wrote, both texts end inside their fields from now on.
    effect->name[sizeof effect->name - 1] = '\0';
    effect->guid[sizeof effect->guid - 1] = '\0';
    effect->id = static_cast<EffectId>(effects_.size());
    effect->imagesFolder = imagesFolder_.c_str();
    effect->module = module;
    EffectSettings::Load(*effect);
    return effect->id;
}

Effect* EffectChain::FindEffect(EffectId id) const noexcept {
    for (Effect* effect : effects_) {
        if (effect->id == id) return effect;
    }
    return nullptr;
}

bool EffectChain::IsEffectActive(EffectId id) const noexcept {
    const Effect* effect = FindEffect(id);
    return effect && active_.Contains(effect);
}

std::int32_t EffectChain::ActivateEffect(EffectId id) {
    Effect* effect = FindEffect(id);
    if (!effect) return kEffectFailed;
    if (const std::int32_t started = effect->Start(); started != kEffectStarted) return started;
    if (active_.Contains(effect)) return kEffectStarted;
    if (!active_.Insert(effect)) {
        effect->Stop();
        return kEffectFailed;
    }
    return kEffectStarted;
}

void EffectChain::DeactivateEffect(EffectId id) {
    Effect* effect = FindEffect(id);
    if (!effect) return;
    active_.Remove(effect);
    effect->Stop();
}

bool EffectChain::ProcessFrame(unsigned char* pixels, int width, int height, double time) {
    return RunActiveEffects(pixels, width, height, time) > 0;
}

bool EffectChain::ApplyEffects(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) noexcept {
    if (active_.capacity() == 0) return false;
    RunActiveEffects(pixels, width, height, time);
    return true;
}

std::size_t EffectChain::RunActiveEffects(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                                          double time) noexcept {
    const std::size_t slots = active_.capacity();
    if (slots == 0) return 0;
    active_.Snapshot(frameEffects_.data());
    std::size_t ran = 0;
    for (EffectLayer layer = kFirstLayer; layer <= kLastLayer; ++layer) {
        for (std::size_t i = 0; i < slots; ++i) {
            Effect* effect = frameEffects_[i];
            if (effect && effect->layer == layer) {
                effect->ProcessFrame(pixels, width, height, time);
                ++ran;
            }
        }
    }
    return ran;
}

void EffectChain::ResetActiveEffects() {
    for (std::size_t i = 0; i < active_.capacity(); ++i) {
        if (Effect* effect = active_.At(i)) effect->Reset();
    }
}

void EffectChain::ClearActiveEffects() noexcept { active_.Clear(); }

void EffectChain::SetOwnerWindow(QWidget* window) noexcept {
    for (Effect* effect : effects_) effect->ownerWindow = static_cast<void*>(window);
}

void EffectChain::UnloadEffects() {
    active_.Resize(0);
    frameEffects_.clear();
    if (!effects_.empty() && EffectSettings::IsRemembered()) {
        for (Effect* effect : effects_) EffectSettings::Replace(*effect);
    }
    effects_.clear();
    plugins_.UnloadAll();
    zoomEffectId_ = colorFilterEffectId_ = faceTrackingEffectId_ = pipEffectId_ = 0;
}

}  // namespace lumora
