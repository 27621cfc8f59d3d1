// Test plug-in that checks the Effect layout from the module's side: it reads the fields
// the host wrote at their fixed byte offsets, without the header's field names, so the
// test can compare them with what the host meant to write. Built from the SDK alone.
#include "layout_probe_fields.h"

#include <lumora/plugin.h>

#include <cstring>

namespace {

class Probe final : public lumora::Effect {
public:
    Probe() : Effect("Layout probe", "7D1B5F0E-2A44-4B8E-8C1D-5E6F7A8B9C0D", lumora::kLayerAnimation) {}
    bool ProcessFrame(std::uint8_t*, std::int32_t, std::int32_t, double) override { return true; }
};

Probe probe;

template <class T>
T At(std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&probe) + offset, sizeof value);
    return value;
}

}  // namespace


LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { record->animationCount = 1; }
LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index) { return index == 0 ? &probe : nullptr; }

extern "C" __attribute__((visibility("default"))) void TestModule_ReadFields(ProbeFields* out) {
    out->vtable = At<const void*>(0);
    out->id = At<std::int32_t>(8);
    out->imagesFolder = At<const char*>(16);
    out->module = At<void*>(24);
    out->ownerWindow = At<void*>(32);
    std::memcpy(out->name, reinterpret_cast<const unsigned char*>(&probe) + 40, 64);
    out->icon = At<void*>(104);
    out->layer = At<std::int32_t>(112);
    std::memcpy(out->guid, reinterpret_cast<const unsigned char*>(&probe) + 116, 64);
}

extern "C" __attribute__((visibility("default"))) const lumora::Effect* TestModule_Probe() { return &probe; }
