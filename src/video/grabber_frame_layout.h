// The two row orders a 24-bit frame has on its way through the "Grabber" element.
//
// GStreamer's BGR rows run top-down; the frame hand-off (MainGrabberCallback, the frame
// store, the virtual camera packet) wants the VideoFrame layout: the same bytes per pixel,
// rows padded to 4 bytes like a DIB, bottom row first. Only the row order differs, so the
// element turns the rows over in the buffer itself (one row of scratch), calls back, and
// turns them over again. A buffer whose rows are not DIB-spaced (a producer's own stride)
// is copied, reversed, into a DIB-layout block for the callback and back.
//
// Measured on the build machine (300 rounds, there and back): 640x480 about 55 us either
// way, 1280x720 about 150 us in place against 130 us through a block, 1920x1080 about
// 340 us against 375 us. Neither is clearly cheaper, so the element uses the way that
// needs no frame-sized block.
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

// Turns the `rows` rows of `stride` bytes at `pixels` upside down; `scratch` holds one row.
void FlipRowsInPlace(unsigned char* pixels, std::size_t stride, int rows, unsigned char* scratch);

// Copies `rows` rows of `rowBytes` bytes from `source` to `target`, the first source row
// becoming the last target row. Strides are the distances between row starts; both must
// be at least `rowBytes`. The bytes between `rowBytes` and the target stride are left
// alone. The two blocks must not overlap.
void CopyRowsReversed(const unsigned char* source, std::size_t sourceStride, unsigned char* target,
                      std::size_t targetStride, std::size_t rowBytes, int rows);

}  // namespace lumora
