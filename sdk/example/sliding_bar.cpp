// Sliding bar: a minimal Lumora animation. A coloured bar crosses the picture from left
// to right every `Seconds` seconds of stream time, so it moves at the same speed at any
// frame rate. Its two settings are kept between runs through the registry helpers.
#include <lumora/plugin.h>
#include <lumora/registry.h>
#include <lumora/zimage.h>

#include <atomic>
#include <cmath>

namespace {

class SlidingBar final : public lumora::Effect {
public:
    SlidingBar() : Effect("Sliding bar", "5E0C2F3A-9B7D-4E21-A6C8-1D4F7B2E9A30", lumora::kLayerAnimation) {}

    // Streaming thread. The settings are atomics: the options run on the user-interface
    // thread at the same time.
    bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) override {
        if (!pixels || width < 1 || height < 1) return false;
        const double period = seconds_.load();
        const double phase = std::fmod(time, period) / period;  // 0 to 1 across the picture
        const std::int32_t barWidth = width / 16 + 1;
        const auto x = static_cast<std::int32_t>(phase * (width + barWidth)) - barWidth;
        // zimage clips the bar to the frame, so it can enter and leave at the edges.
        ZImage_Fill(pixels, width, height, barWidth, height, x, 0, colour_.load(), 0);
        return true;
    }

    // A plug-in with an options dialog opens it here, modal and owned by ownerWindow
    // (static_cast<QWidget*>(ownerWindow)), and answers whether the user accepted.
    bool ShowOptions() override { return true; }
    bool IsConfigurable() override { return true; }

    // User-interface thread: the host passes HKEY_LOCAL_MACHINE and this effect's key.
    void LoadSettings(lumora::HKEY root, const char* path) override {
        const std::uint32_t seconds = lumora::ReadRegDword(root, path, "Seconds", 0);
        if (seconds >= 1 && seconds <= 60) seconds_.store(seconds);  // out of range: keep
        colour_.store(lumora::ReadRegDword(root, path, "Colour", colour_.load()) & 0x00FFFFFF);
    }
    void SaveSettings(lumora::HKEY root, const char* path) override {
        lumora::WriteRegDword(root, path, "Seconds", static_cast<std::uint32_t>(seconds_.load()));
        lumora::WriteRegDword(root, path, "Colour", colour_.load());
    }

private:
    std::atomic<double> seconds_{4.0};
    std::atomic<std::uint32_t> colour_{0x0000C0FF};  // 0x00BBGGRR: orange
};

// The module's effects live as long as the module; the host never deletes them.
SlidingBar bar;

}  // namespace

LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { record->animationCount = 1; }

LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index) { return index == 0 ? &bar : nullptr; }
