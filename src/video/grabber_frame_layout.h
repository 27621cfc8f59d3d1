// The two row orders a 24-bit frame has on its way through the "Grabber" element.
//
// GStreamer's BGR rows run top-down; the frame hand-off (MainGrabberCallback, the frame
// store, the virtual camera packet) wants the VideoFrame layout: the same bytes per pixel,
// rows padded to 4 bytes like a DIB, bottom row first. The element copies the rows,
// reversed, into a DIB-layout block for the callback, and back only when the callback
// changed them (an effect was on): without effects a frame costs one pass, not the two of
// turning it over in place and back.
//
// Pure functions over caller-owned memory; any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora {

// Bytes of one row of a 24-bit DIB of `width` pixels: width x 3 rounded up to 4.
constexpr std::size_t DibStride(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
}

// Copies `rows` rows of `rowBytes` bytes from `source` to `target`, the first source row
// becoming the last target row. Strides are the distances between row starts; both must
// be at least `rowBytes`. The bytes between `rowBytes` and the target stride are left
// alone. The two blocks must not overlap.
void CopyRowsReversed(const unsigned char* source, std::size_t sourceStride, unsigned char* target,
                      std::size_t targetStride, std::size_t rowBytes, int rows);

}  // namespace lumora
