#include "animations/particle_animation.h"

namespace lumora::plugins {

namespace {

// The style with one colour for each palette entry.
DriftStyle WithColours(DriftStyle style, std::size_t colours) {
    style.colours = static_cast<std::int32_t>(colours);
    return style;
}

}  // namespace

ParticleAnimation::ParticleAnimation(const char* displayName, const char* identifier, const DriftStyle& style,
                                     std::initializer_list<Bgr> palette)
    : PluginEffect(displayName, identifier, kLayerAnimation), motion_(WithColours(style, palette.size())),
      palette_(palette) {
    if (palette_.empty()) palette_.push_back(Bgr{255, 255, 255});
}

void ParticleAnimation::OnStop() {
    masks_ = {};
    maskHeight_ = 0;
}

void ParticleAnimation::BuildMasks(std::int32_t height) {
    const DriftStyle& style = motion_.style();
    masks_.resize(static_cast<std::size_t>(style.sizeClasses) * style.variants);
    for (std::int32_t size = 0; size < style.sizeClasses; ++size) {
        const std::int32_t diameter = motion_.Diameter(size, height);
        for (std::int32_t variant = 0; variant < style.variants; ++variant) {
            AlphaMask& mask = masks_[static_cast<std::size_t>(size) * style.variants + variant];
            mask.Resize(diameter, diameter);
            mask.Draw([this, variant](double u, double v) { return Coverage(variant, u, v); });
        }
    }
    maskHeight_ = height;
}

const AlphaMask& ParticleAnimation::MaskOf(const Placement& place) const {
    return masks_[static_cast<std::size_t>(place.sizeClass) * motion_.style().variants + place.variant];
}

void ParticleAnimation::Render(const FrameView& frame, double time) {
    if (maskHeight_ != frame.height) BuildMasks(frame.height);
    const double elapsed = clock_.Elapsed(time);
    const double speed = SpeedScale();
    const std::uint32_t count = ParticleCount();
    for (std::uint32_t i = 0; i < count; ++i) {
        const Placement place = motion_.Place(i, elapsed, speed, frame.width, frame.height);
        if (!place.visible) continue;
        const Bgr colour = palette_[static_cast<std::size_t>(place.colour) % palette_.size()];
        MaskOf(place).Blend(frame, place.x, place.y, colour, place.opacity);
    }
}

}  // namespace lumora::plugins
