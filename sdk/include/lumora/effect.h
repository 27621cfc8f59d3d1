// lumora::Effect: the object every change to the live picture goes through, built into
// the program or supplied by a plug-in module (see plugin.h).
//
// The chain (the host) and the plug-ins are built separately, so this class is a binary
// interface fixed to the byte on x86-64: the vtable pointer, then the fields below in
// this order with the natural layout; every offset is checked at the bottom of this file.
// The eight virtual operations keep their slot order. Never add, remove or reorder a
// virtual function or a field. There is no virtual destructor on purpose: the host never
// destroys an effect it did not create, and a plug-in's effect belongs to its module.
//
// Who writes what:
// - the effect (module) sets `name`, `guid`, `layer` and `icon` before it hands the object
//   out and keeps them unchanged afterwards;
// - the host sets `id`, `imagesFolder` and `module` when it registers the effect and
//   `ownerWindow` when the options window exists. At registration it also writes a zero
//   into the last byte of `name` and of `guid`, so texts that filled their field end there.
//
// Threads: ProcessFrame runs on the streaming thread, every other operation on the
// user-interface thread. ProcessFrame may run at the same time as Start, Stop or the
// options dialog, so an effect guards the state they share with its own lock (or keeps
// single values in std::atomic). ProcessFrame may also be called once more for a frame
// that began just before the effect was switched off, so it must be harmless after Stop.
//
// Frames: 24-bit blue-green-red pixels, rows padded to four bytes, bottom row first (see
// video_frame_layout.h). ProcessFrame changes the frame in place and must never touch a
// byte outside ZImage_CalcImageSize(width, height, 24); sizes as small as 1 x 1 happen.
//
// Standard headers and other SDK headers only.
#pragma once

#include <lumora/bitmap.h>
#include <lumora/registry.h>

#include <cstddef>
#include <cstdint>

namespace lumora {

// Number the chain gives an effect: 1, 2, 3, ... in order of registration; 0 before.
using EffectId = std::int32_t;

// The pass in which the chain applies an effect. Passes run 0 to 3 on every frame; an
// effect whose layer is outside 0 to 3 is never applied.
using EffectLayer = std::int32_t;
inline constexpr EffectLayer kLayerPicture = 0;    // zoom, colour filter, face-following zoom
inline constexpr EffectLayer kLayerFilter = 1;     // plug-in filters (Filters tab)
inline constexpr EffectLayer kLayerInset = 2;      // picture-in-picture
inline constexpr EffectLayer kLayerAnimation = 3;  // plug-in animations, drawn over everything

// Answers of Effect::Start. Any non-zero answer means the effect did not start.
inline constexpr std::int32_t kEffectStarted = 0;
inline constexpr std::int32_t kEffectFailed = 1;     // the options panel reports it
inline constexpr std::int32_t kEffectCancelled = 2;  // the user cancelled a dialog Start opened

inline constexpr std::size_t kEffectNameSize = 64;  // bytes of `name`, terminating zero included
inline constexpr std::size_t kEffectGuidSize = 64;  // bytes of `guid`, terminating zero included

// The registry key under HKEY_LOCAL_MACHINE that holds the settings of all effects; an
// effect's own key is this + "\\" + its guid, and the host passes that to Load/SaveSettings.
inline constexpr char kEffectSettingsRoot[] = "SOFTWARE\\Lumora";

class Effect {
public:
    // Slot 0. Prepare and begin: kEffectStarted, kEffectFailed or kEffectCancelled. The host
    // calls Start again on an effect that is already running when its settings changed.
    virtual std::int32_t Start() { return kEffectStarted; }
    // Slot 1. End the effect and release run-time resources. Harmless when not running.
    virtual void Stop() {}
    // Slot 2. Change one frame in place. `time` is the stream time in seconds: animations
    // move with it, not with the number of frames. The answer is not used by the host.
    virtual bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                              double time) = 0;
    // Slot 3. Forget what belongs to the stream so far (it restarted or jumped).
    virtual void Reset() {}
    // Slot 4. Show the modal options dialog, owned by `ownerWindow`; true when the user
    // accepted new settings. Effects without a dialog answer true at once.
    virtual bool ShowOptions() { return true; }
    // Slot 5. True when the effect has an options dialog and settings kept between runs.
    virtual bool IsConfigurable() { return false; }
    // Slot 6. Read the settings from key `path` under `root` with the registry helpers,
    // keeping the current value of anything missing or out of range.
    virtual void LoadSettings(HKEY /*root*/, const char* /*path*/) {}
    // Slot 7. Write the settings into key `path` under `root`.
    virtual void SaveSettings(HKEY /*root*/, const char* /*path*/) {}

    EffectId id = 0;                    // offset 8; host
    const char* imagesFolder = nullptr; // offset 16; host: program folder + "images/", host-owned
    void* module = nullptr;             // offset 24; host: dlopen handle of the module
                                        //   (of the program itself for built-in effects)
    void* ownerWindow = nullptr;        // offset 32; host: the options window, a QWidget*
                                        //   stored as void* (null until it exists). A
                                        //   plug-in casts it back with static_cast<QWidget*>.
    char name[kEffectNameSize] = {};    // offset 40; effect: zero-terminated display name
    Bitmap* icon = nullptr;             // offset 104; effect: picture in the effect list, or
                                        //   null; owned by whoever set it, lives as long as
                                        //   the effect
    EffectLayer layer = kLayerPicture;  // offset 112; effect
    char guid[kEffectGuidSize] = {};    // offset 116; effect: 36-character identifier without
                                        //   braces, e.g. "1BA87460-8253-4256-B22A-0229A8903BA8"

    // Copies `text` into a fixed field, cut so the terminating zero always fits.
    template <std::size_t N>
    static void CopyText(char (&field)[N], const char* text) noexcept {
        std::size_t i = 0;
        for (; text && text[i] != '\0' && i + 1 < N; ++i) field[i] = text[i];
        for (; i < N; ++i) field[i] = '\0';
    }

    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

protected:
    Effect() = default;
    Effect(const char* displayName, const char* identifier, EffectLayer effectLayer) noexcept
        : layer(effectLayer) {
        CopyText(name, displayName);
        CopyText(guid, identifier);
    }
    // Not virtual and not public: nobody deletes an effect through this class. Whoever
    // created the concrete object destroys it as that type.
    ~Effect() = default;
};

// The binary layout the host and every plug-in rely on (x86-64, natural alignment).
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
static_assert(sizeof(void*) == 8, "the Effect layout is defined for 64-bit targets");
static_assert(offsetof(Effect, id) == 8);
static_assert(offsetof(Effect, imagesFolder) == 16);
static_assert(offsetof(Effect, module) == 24);
static_assert(offsetof(Effect, ownerWindow) == 32);
static_assert(offsetof(Effect, name) == 40);
static_assert(offsetof(Effect, icon) == 104);
static_assert(offsetof(Effect, layer) == 112);
static_assert(offsetof(Effect, guid) == 116);
static_assert(sizeof(Effect) == 184);  // a derived class's own fields may start at 180
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace lumora
