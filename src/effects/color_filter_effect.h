// ColorFilterEffect: built-in effect "RGB filter" (layer 0). Scales the red, green and
// blue channels of the whole frame by level / 128; levels run from 1 to 256 and 128 keeps
// a channel as it is. The levels are not kept between runs.
//
// Threads: the colour filter panel (user-interface thread) writes the levels at any time
// and then activates or deactivates the effect; ProcessFrame reads them on the streaming
// thread without a lock. Each level is atomic, so a frame may mix old and new levels,
// which is harmless. No other state.
#pragma once

#include <lumora/effect.h>

#include <atomic>
#include <cstdint>

namespace lumora {

class ColorFilterEffect final : public Effect {
public:
    static constexpr std::int32_t kNeutralLevel = 128;
    static constexpr std::int32_t kMinLevel = 1;
    static constexpr std::int32_t kMaxLevel = 256;

    ColorFilterEffect() noexcept;

    bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) override;

    // A level the user asked for as the panel takes it: outside 1 to 256 it is 128.
    static std::int32_t NormalizeLevel(std::int32_t level) noexcept;

    void SetLevels(std::int32_t red, std::int32_t green, std::int32_t blue) noexcept;
    std::int32_t red() const noexcept { return red_.load(); }
    std::int32_t green() const noexcept { return green_.load(); }
    std::int32_t blue() const noexcept { return blue_.load(); }
    // All three levels are 128: the panel keeps the effect switched off.
    bool IsNeutral() const noexcept;

private:
    std::atomic<std::int32_t> red_{kNeutralLevel};
    std::atomic<std::int32_t> green_{kNeutralLevel};
    std::atomic<std::int32_t> blue_{kNeutralLevel};
};

}  // namespace lumora
