#include "effects/zoom_effect.h"

#include "effects/builtin_effects.h"

#include <algorithm>

namespace lumora {

ZoomEffect::ZoomEffect() noexcept : Effect(kZoomEffectName, kZoomEffectGuid, kLayerPicture) {}

std::int32_t ZoomEffect::Start() {
    std::lock_guard<std::mutex> guard(lock_);
    factor_.store(std::clamp(factor_.load(), kMinFactor, kMaxFactor));
    offsetX_.store(std::max(offsetX_.load(), 0));
    offsetY_.store(std::max(offsetY_.load(), 0));
    return kEffectStarted;
}

void ZoomEffect::Stop() {
    std::lock_guard<std::mutex> guard(lock_);
    factor_.store(kMinFactor);
    offsetX_.store(0);
    offsetY_.store(0);
    window_.Release();
}

void ZoomEffect::SetOffset(std::int32_t x, std::int32_t y) noexcept {
    offsetX_.store(x);
    offsetY_.store(y);
}

void ZoomEffect::MoveOffset(std::int32_t dx, std::int32_t dy) noexcept {
    offsetX_.fetch_add(dx);
    offsetY_.fetch_add(dy);
}

bool ZoomEffect::ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double) {
    if (!pixels) return false;
    std::lock_guard<std::mutex> guard(lock_);
    const std::int32_t factor = std::clamp(factor_.load(), kMinFactor, kMaxFactor);
    if (factor == kMinFactor) return true;

    const std::int64_t zoomWidth = (static_cast<std::int64_t>(factor) * width) >> 8;
    const std::int64_t zoomHeight = (static_cast<std::int64_t>(factor) * height) >> 8;
    // Offsets that would show past the enlarged picture's far edges are stored clamped.
    std::int32_t x = offsetX_.load();
    std::int32_t y = offsetY_.load();
    if (x + static_cast<std::int64_t>(width) > zoomWidth) offsetX_.store(x = static_cast<std::int32_t>(zoomWidth - width));
    if (y + static_cast<std::int64_t>(height) > zoomHeight) offsetY_.store(y = static_cast<std::int32_t>(zoomHeight - height));
    return window_.Draw(pixels, width, height, static_cast<std::int32_t>(zoomWidth), static_cast<std::int32_t>(zoomHeight),
                        std::max(x, 0), std::max(y, 0));
}

}  // namespace lumora
