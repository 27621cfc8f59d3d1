// Test module with only one of the two exports (TEST_EXPORT_INFO or TEST_EXPORT_ANIMATION
// decides which); the host must skip it and unload it.
#include <lumora/plugin.h>

#if defined(TEST_EXPORT_INFO)
LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { record->animationCount = 1; }
#endif
#if defined(TEST_EXPORT_ANIMATION)
LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t) { return nullptr; }
#endif
