// ZoomEffect: the manual zoom, built-in effect "Zoom" (layer 0). Enlarges the frame by
// `factor` / 256 and shows the frame-sized window whose lower-left corner is at the
// offsets inside the enlarged picture (x from the left, y from the bottom row).
//
// Threads: the zoom panel and the preview window (user-interface thread) write the factor
// and the offsets at any time without the lock, then call ActivateEffect, whose Start
// clamps them under the lock; the streaming thread runs ProcessFrame under the lock.
// Start, Stop and ProcessFrame never interleave. A factor or offset outside its range
// that a frame sees before Start has clamped it is drawn clamped and left as written.
//
// Memory: only the visible window is computed (ZoomWindow); its buffers grow with the
// frame size and are freed by Stop.
#pragma once

#include "effects/zoom_window.h"

#include <lumora/effect.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace lumora {

class ZoomEffect final : public Effect {
public:
    static constexpr std::int32_t kMinFactor = 256;   // 1.0x, 1/256 units
    static constexpr std::int32_t kMaxFactor = 1024;  // 4.0x
    static constexpr std::int32_t kFactorStep = 16;   // one press of a zoom button

    ZoomEffect() noexcept;

    std::int32_t Start() override;
    void Stop() override;
    bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) override;

    // Written by the panel and the preview without the lock; see the file comment.
    std::int32_t factor() const noexcept { return factor_.load(); }
    void SetFactor(std::int32_t factor) noexcept { factor_.store(factor); }
    std::int32_t offsetX() const noexcept { return offsetX_.load(); }
    std::int32_t offsetY() const noexcept { return offsetY_.load(); }
    void SetOffset(std::int32_t x, std::int32_t y) noexcept;
    // A mouse drag: adds to both offsets (the caller then activates the effect).
    void MoveOffset(std::int32_t dx, std::int32_t dy) noexcept;

private:
    std::mutex lock_;
    ZoomWindow window_;
    std::atomic<std::int32_t> factor_{kMinFactor};
    std::atomic<std::int32_t> offsetX_{0};
    std::atomic<std::int32_t> offsetY_{0};
};

}  // namespace lumora
