// The video format of a capture device as Lumora describes and remembers it: a 40-byte
// bitmap-info header (width, height, bit count, planes, compression FOURCC or 0 for RGB,
// image size), the average time per frame in 100 ns units and the media subtype GUID
// ({FOURCC-0000-0010-8000-00AA00389B71}; {E436EB7D-...} for 24-bit RGB).
//
// Plain values. The source graph owns its CaptureFormat and touches it only on the
// user-interface thread.
#pragma once

#include <lumora/zimage.h>

#include <array>
#include <cstdint>

namespace lumora {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    bool operator==(const Guid&) const = default;
};

struct CaptureFormat {
    ZImageBitmapInfoHeader header{};
    std::int64_t frameTime = 0;
    Guid subtype{};
    // Set once the remembered format has been tried on the device, or when there is
    // nothing to try; a format is applied at most once per run.
    bool applied = false;

    // Clears header, frame time and subtype; the applied flag stays.
    void ClearKeepingApplied() {
        header = {};
        frameTime = 0;
        subtype = {};
    }
};

}  // namespace lumora
