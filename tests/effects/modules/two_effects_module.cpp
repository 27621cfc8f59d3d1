// Test plug-in: two effects, an animation (layer 3) at index 0 and a filter (layer 1) at
// index 1. Built from the SDK alone.
#include <lumora/plugin.h>
#include <lumora/registry.h>
#include <lumora/zimage.h>

namespace {

class TestEffect final : public lumora::Effect {
public:
    TestEffect(const char* name, const char* guid, lumora::EffectLayer layer) : Effect(name, guid, layer) {}
    bool ProcessFrame(std::uint8_t*, std::int32_t, std::int32_t, double) override { return true; }
};

TestEffect animation("Test animation", "0C1E7A52-5F3B-4C61-9D0B-3E8A6F2B7C11", lumora::kLayerAnimation);
TestEffect filter("Test filter", "0C1E7A52-5F3B-4C61-9D0B-3E8A6F2B7C12", lumora::kLayerFilter);

}  // namespace

LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) {
    record->animationCount = 2;
    record->moduleData[0] = 0x5A;  // the module's own bytes
}

LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index) {
    return index == 0 ? &animation : index == 1 ? &filter : nullptr;
}
