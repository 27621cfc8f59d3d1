// Test plug-in: two effects. Index 0 is a configurable animation (layer 3) that keeps a
// "Speed" value with the registry helpers and paints the frame's first pixel with zimage;
// index 1 is a filter (layer 1). Built from the SDK alone.
#include <lumora/plugin.h>
#include <lumora/registry.h>
#include <lumora/zimage.h>

namespace {

class SpeedAnimation final : public lumora::Effect {
public:
    SpeedAnimation() : Effect("Test animation", "0C1E7A52-5F3B-4C61-9D0B-3E8A6F2B7C11", lumora::kLayerAnimation) {}

    bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double) override {
        return ZImage_Fill(pixels, width, height, 1, 1, 0, 0, 0x00030201, 0) != 0;
    }
    bool IsConfigurable() override { return true; }
    void LoadSettings(lumora::HKEY root, const char* path) override {
        speed = lumora::ReadRegDword(root, path, "Speed", speed);
    }
    void SaveSettings(lumora::HKEY root, const char* path) override {
        lumora::WriteRegDword(root, path, "Speed", speed);
    }

    std::uint32_t speed = 5;
};

class TestFilter final : public lumora::Effect {
public:
    TestFilter() : Effect("Test filter", "0C1E7A52-5F3B-4C61-9D0B-3E8A6F2B7C12", lumora::kLayerFilter) {}
    bool ProcessFrame(std::uint8_t*, std::int32_t, std::int32_t, double) override { return true; }
};

SpeedAnimation animation;
TestFilter filter;

}  // namespace

LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) {
    record->animationCount = 2;
    record->moduleData[0] = 0x5A;  // the module's own bytes
}

LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index) {
    if (index == 0) return &animation;
    if (index == 1) return &filter;
    return nullptr;
}

// For the tests: the animation's current speed, and a new one to save.
extern "C" __attribute__((visibility("default"))) std::uint32_t TestModule_Speed() { return animation.speed; }
extern "C" __attribute__((visibility("default"))) void TestModule_SetSpeed(std::uint32_t speed) {
    animation.speed = speed;
}
