// The two functions a plug-in module exports, and the record the host hands it.
//
// A plug-in is a shared object ("*.so") in the program folder. At start-up the host
// loads every "*.so" there in file-name order; a module that exports both functions below
// (C linkage, default visibility) is a plug-in:
//
//   LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record);
//   LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index);
//
// 1. The host zero-fills a PluginRecord and calls GetPluginInfo once; the module writes at
//    least `animationCount` (0 or less: no effects; the module stays loaded all the same).
// 2. The host calls GetAnimation(i) for i = 0 .. animationCount - 1. Each answer is one of
//    the module's effects (or null, which the host skips). The object belongs to the
//    module: it must stay valid until the module is unloaded, and the host never deletes
//    it. The host numbers the effects in this order, after the built-in effects.
// 3. At exit the host saves the settings of configurable effects, then unloads the module.
//    Stop whatever threads the module runs in Effect::Stop or in a destructor of its own.
//
// Both functions run on the user-interface thread. Link the shared libraries "lumorasdk"
// (the registry helpers of registry.h) and "zimage" (image operations of zimage.h); both
// are in the program folder, so give the module the run path "$ORIGIN".
//
// Standard headers and other SDK headers only.
#pragma once

#include <lumora/effect.h>

#include <cstddef>
#include <cstdint>

namespace lumora {

struct PluginRecord {
    // Number of effects the module offers through GetAnimation.
    std::int32_t animationCount;
    // The module's own: the host neither reads nor writes these bytes after zero-filling.
    std::uint8_t moduleData[192];
    // Written by the host after GetPluginInfo returns: the host's number for the module
    // (1 for the first module loaded, 2 for the next, ...). The module's own dlopen handle
    // is in Effect::module of each of its effects.
    std::uint32_t moduleHandle;
};
static_assert(sizeof(PluginRecord) == 200);
static_assert(offsetof(PluginRecord, animationCount) == 0);
static_assert(offsetof(PluginRecord, moduleData) == 4);
static_assert(offsetof(PluginRecord, moduleHandle) == 196);

// The export names and their types, for the host's dlsym.
inline constexpr char kGetPluginInfoExport[] = "GetPluginInfo";
inline constexpr char kGetAnimationExport[] = "GetAnimation";
using GetPluginInfoFunction = void (*)(PluginRecord* record);
using GetAnimationFunction = Effect* (*)(std::int32_t index);

}  // namespace lumora

// Put in front of the two definitions in the module.
#define LUMORA_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

// Declared here so a module's definitions are checked against the expected types.
LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record);
LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index);
