// Test plug-in that hands out what a careless module might: a count of 4 with null
// effects at indexes 0 and 3, names and identifiers without terminating zeros, and
// layers outside 0 to 3.
#include <lumora/plugin.h>

#include <cstring>

namespace {

class Careless final : public lumora::Effect {
public:
    explicit Careless(lumora::EffectLayer effectLayer) {
        std::memset(name, 'N', sizeof name);
        std::memset(guid, 'G', sizeof guid);
        layer = effectLayer;
    }
    bool ProcessFrame(std::uint8_t*, std::int32_t, std::int32_t, double) override { return true; }
};

Careless aboveRange(9);
Careless belowRange(-1);

}  // namespace

LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { record->animationCount = 4; }

LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index) {
    return index == 1 ? &aboveRange : index == 2 ? &belowRange : nullptr;
}
