// Test module with only one of the two exports (TEST_EXPORT_INFO or TEST_EXPORT_ANIMATION
// decides which); the host must skip it and unload it. Its load counter shows whether it
// is still loaded: a fresh load starts at 0 again.
#include <lumora/plugin.h>

namespace {
int loads = 0;
__attribute__((constructor)) void CountLoad() { ++loads; }
}  // namespace

#if defined(TEST_EXPORT_INFO)
LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { record->animationCount = 1; }
#endif
#if defined(TEST_EXPORT_ANIMATION)
LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t) { return nullptr; }
#endif

extern "C" __attribute__((visibility("default"))) int TestModule_Loads() { return loads; }
