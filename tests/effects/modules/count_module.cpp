// Test plug-in whose GetPluginInfo reports TEST_MODULE_COUNT (0 or negative: no effects)
// and whose GetAnimation must then never be called. TEST_WITHOUT_INFO or
// TEST_WITHOUT_ANIMATION leaves one of the two exports out: the host must skip and unload it.
#include <lumora/plugin.h>

namespace {
int animationCalls = 0;
}

#if !defined(TEST_WITHOUT_INFO)
LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { record->animationCount = TEST_MODULE_COUNT; }
#endif
#if !defined(TEST_WITHOUT_ANIMATION)
LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t) {
    ++animationCalls;
    return nullptr;
}
#endif

extern "C" __attribute__((visibility("default"))) int TestModule_AnimationCalls() { return animationCalls; }
