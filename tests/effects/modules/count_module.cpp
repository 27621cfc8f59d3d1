// Test plug-in whose GetPluginInfo reports TEST_MODULE_COUNT (0 or negative: no effects)
// and whose GetAnimation must then never be called.
#include <lumora/plugin.h>

namespace {
int animationCalls = 0;
}

LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { record->animationCount = TEST_MODULE_COUNT; }

LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t) {
    ++animationCalls;
    return nullptr;
}

extern "C" __attribute__((visibility("default"))) int TestModule_AnimationCalls() { return animationCalls; }
