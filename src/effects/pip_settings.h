// The picture-in-picture effect's settings, as its options dialog edits them and the
// settings store keeps them. Plain values; copy them freely.
#pragma once

#include <QRgb>

#include <array>
#include <cstdint>

namespace lumora {

enum PipPosition : std::int32_t {
    kPipTopLeft = 1,
    kPipTopRight = 2,
    kPipBottomLeft = 3,
    kPipBottomRight = 4,
};

// What the options dialog edits as one unit.
struct PipSettings {
    static constexpr std::int32_t kMinMargin = 0, kMaxMargin = 100;
    static constexpr std::int32_t kMinSize = 5, kMaxSize = 50;

    std::int32_t position = kPipTopRight;  // PipPosition; other values draw bottom-left
    std::int32_t margin = 15;              // pixels from the frame edges
    std::int32_t deviceIndex = -1;         // in the capture device list; -1 none chosen
    bool drawBorder = true;
    std::uint32_t borderColour = 0x00FFFFFF;  // 0x00BBGGRR
    std::int32_t size = 35;                   // percent of the main frame
    bool maintainProportions = true;

    // Every value in its range (position 1 to 4, margin 0 to 100, size 5 to 50, device
    // -1 or more).
    bool IsValid() const noexcept;
    friend bool operator==(const PipSettings&, const PipSettings&) = default;
};

// The colour chooser's sixteen custom colours, kept from one dialog to the next.
using PipCustomColours = std::array<QRgb, 16>;

}  // namespace lumora
