// DriftMotion: where the particles of a falling or rising animation are at a moment.
//
// Every particle follows its own fixed path: a lane across the frame, a speed, a size
// class, a side-to-side swing, a colour and a start delay, all drawn from a hash of its
// index. Its place is a pure function of the index and the elapsed stream time, so a
// particle needs no state, any time gives the same picture however it was reached, and
// the number of particles can change between two frames. Particles enter over the
// first seconds (each after its delay), cross the frame and start again at the far edge.
// Sizes and speeds are fractions of the frame height, so the picture looks the same at
// any frame size.
//
// A value type; const after construction, so any thread may use it.
#pragma once

#include <cstdint>

namespace lumora::plugins {

struct DriftStyle {
    bool rising = false;            // enters at the bottom edge, else at the top edge
    double minSpeed = 0.1;          // frame heights per second
    double maxSpeed = 0.2;
    double minSize = 0.02;          // diameter in frame heights, smallest size class
    double maxSize = 0.05;          // largest size class
    std::int32_t sizeClasses = 4;   // at least 1
    double sway = 0.02;             // amplitude of the swing, frame heights
    double minSwayHz = 0.1;         // swings per second
    double maxSwayHz = 0.4;
    std::int32_t variants = 1;      // shapes a particle turns through (at least 1)
    double turnsPerSecond = 0;      // full rounds through the variants per second
    std::int32_t colours = 1;       // palette entries (at least 1)
    std::int32_t minOpacity = 255;  // 0 to 255; each particle gets a value up to 255
};

// One particle at one moment: its mask's lower-left corner in frame pixels.
struct Placement {
    bool visible = false;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t sizeClass = 0;
    std::int32_t variant = 0;
    std::int32_t colour = 0;
    std::int32_t opacity = 255;
};

class DriftMotion {
public:
    explicit DriftMotion(const DriftStyle& style) noexcept;

    // Particle `index` after `elapsed` seconds in a width x height frame, moving at
    // `speedScale` times its own speed.
    Placement Place(std::uint32_t index, double elapsed, double speedScale, std::int32_t width,
                    std::int32_t height) const noexcept;
    // Diameter in pixels of a size class in frames `height` pixels high; at least 1.
    std::int32_t Diameter(std::int32_t sizeClass, std::int32_t height) const noexcept;

    const DriftStyle& style() const noexcept { return style_; }

private:
    DriftStyle style_;
};

}  // namespace lumora::plugins
