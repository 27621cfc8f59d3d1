// PipeWireVideoFormat: a picture layout the PipeWire camera offers its consumers, all
// BT.601 limited range for the YUV ones, rows tightly packed, planes one after the other
// in one block:
//   YUY2  packed 4:2:2 (the loopback device's YUYV), 2 bytes a pixel;
//   I420  planar 4:2:0: Y, then U and V at half width and height;
//   NV12  Y, then one plane of interleaved U and V at half width and height;
//   BGRx  4 bytes a pixel, blue, green, red, then a byte consumers ignore.
// Plain value type; free to copy between threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

enum class PipeWireLayout { kYuy2, kI420, kNv12, kBgrx };

struct PipeWireVideoFormat {
    int width = 1280;
    int height = 720;
    PipeWireLayout layout = PipeWireLayout::kYuy2;

    // Bytes of the first plane's rows.
    std::size_t Stride() const;
    std::size_t FrameBytes() const;
    // "1280x720 YUY2"
    std::string Describe() const;

    friend bool operator==(const PipeWireVideoFormat&, const PipeWireVideoFormat&) = default;
};

// "YUY2", "I420", "NV12", "BGRx".
std::string LayoutName(PipeWireLayout layout);

// The SPA video format id of a layout, and back (nothing for a format we do not produce).
std::uint32_t SpaVideoFormat(PipeWireLayout layout);
std::optional<PipeWireLayout> LayoutFromSpaVideoFormat(std::uint32_t spaFormat);

// The layouts offered, in order of preference: `preferred` first, then the others.
std::vector<PipeWireLayout> OfferedLayouts(PipeWireLayout preferred);

}  // namespace lumora
