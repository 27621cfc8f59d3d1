// EffectChain: every known effect, numbered, and the table of those switched on, applied
// to each frame in four passes by layer.
//
// Numbering: LoadEffects registers the built-in effects first, in the order zoom (1),
// RGB colour filter (2), face-tracking zoom (3), picture-in-picture (4) (see
// builtin_effects.h), then the effects of the plug-in modules in the program folder from
// 5 on (see plugin_host.h). The active table has one slot per effect registered by then.
//
// Ownership: the chain owns the built-in effects (destroyed with the chain or when it
// loads again) and the picture-in-picture icon, and shares its images folder text with
// every effect. It never destroys a plug-in's effect; the modules stay loaded until
// UnloadEffects, which first saves the effects' settings.
//
// Threads: ProcessFrame runs on the streaming thread, one frame at a time (the frame
// hand-off calls it under its frame lock). Everything else runs on the user-interface
// thread. The chain has no lock: switching an effect on or off is one change of the
// atomic active table, and a frame sees each effect either in or out. LoadEffects,
// UnloadEffects and destruction must not overlap a frame: the application loads before
// the first source is built and unloads after the last is torn down.
#pragma once

#include "effects/active_effect_table.h"
#include "effects/builtin_effects.h"
#include "effects/plugin_host.h"
#include "frames/frame_processor.h"

#include <lumora/effect.h>

#include <string>
#include <vector>

class QWidget;

namespace lumora {

class EffectChain final : public FrameProcessor {
public:
    // `programFolder` (with its trailing "/") holds the plug-ins; the effects' images
    // folder is programFolder + "images/". `builtins` makes effects 1 to 4.
    explicit EffectChain(std::string programFolder, BuiltinEffectFactory builtins = CreateDefaultBuiltinEffects);
    // The running program's folder.
    EffectChain();
    ~EffectChain();
    EffectChain(const EffectChain&) = delete;
    EffectChain& operator=(const EffectChain&) = delete;

    // Unloads, registers the built-ins and the plug-ins' effects, and makes the table.
    void LoadEffects();
    // Appends the effect; its number, or 0 for null. Loads its settings when the user keeps
    // them and it is configurable. The table keeps its size: an effect registered after
    // LoadEffects only finds a slot another effect left free.
    EffectId RegisterEffect(Effect* effect, void* module);
    Effect* FindEffect(EffectId id) const noexcept;
    bool IsEffectActive(EffectId id) const noexcept;
    // Starts the effect (again, when it is already on) and puts it into the first empty
    // slot: 0, or Start's non-zero answer (the table unchanged), or 1 for an unknown
    // number or a full table (the effect is stopped again).
    std::int32_t ActivateEffect(EffectId id);
    // Empties its slot, then calls Stop, also when it was not on.
    void DeactivateEffect(EffectId id);

    // FrameProcessor: applies the active effects to the frame in place; false when none is on.
    bool ProcessFrame(unsigned char* pixels, int width, int height, double time) override;
    // The same; false when there is no active table (nothing loaded).
    bool ApplyEffects(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) noexcept;

    // Reset of every active effect, in slot order.
    void ResetActiveEffects();
    // Empties the table without stopping anything (the source was torn down).
    void ClearActiveEffects() noexcept;
    // The owner of the effects' dialogs.
    void SetOwnerWindow(QWidget* window) noexcept;
    // Empties the table, saves the settings of configurable effects (only while the user
    // keeps them), forgets every effect and unloads the plug-in modules.
    void UnloadEffects();

    std::size_t EffectCount() const noexcept { return effects_.size(); }
    const std::vector<Effect*>& Effects() const noexcept { return effects_; }
    EffectId zoomEffectId() const noexcept { return zoomEffectId_; }
    EffectId colorFilterEffectId() const noexcept { return colorFilterEffectId_; }
    EffectId faceTrackingEffectId() const noexcept { return faceTrackingEffectId_; }
    EffectId pipEffectId() const noexcept { return pipEffectId_; }
    const std::string& programFolder() const noexcept { return programFolder_; }
    const std::string& imagesFolder() const noexcept { return imagesFolder_; }
    const PluginHost& plugins() const noexcept { return plugins_; }

private:
    void RegisterBuiltins();
    EffectId RegisterBuiltin(OwnedEffect& effect, const char* name, const char* guid, EffectLayer layer);
    // The passes over the active effects; how many effects ran.
    std::size_t RunActiveEffects(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) noexcept;

    std::string programFolder_;
    std::string imagesFolder_;
    BuiltinEffectFactory makeBuiltins_;
    void* programModule_;

    BuiltinEffects builtins_;
    std::vector<Effect*> effects_;  // effects_[i] has id i + 1
    ActiveEffectTable active_;
    std::vector<Effect*> frameEffects_;  // the streaming thread's copy of the table
    PluginHost plugins_;
    EffectId zoomEffectId_ = 0;
    EffectId colorFilterEffectId_ = 0;
    EffectId faceTrackingEffectId_ = 0;
    EffectId pipEffectId_ = 0;
};

}  // namespace lumora
