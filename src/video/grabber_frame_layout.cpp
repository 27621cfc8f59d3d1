#include "video/grabber_frame_layout.h"

#include <cstring>

namespace lumora {

void FlipRowsInPlace(unsigned char* pixels, std::size_t stride, int rows, unsigned char* scratch) {
    for (int top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        unsigned char* upper = pixels + static_cast<std::size_t>(top) * stride;
        unsigned char* lower = pixels + static_cast<std::size_t>(bottom) * stride;
        std::memcpy(scratch, upper, stride);
        std::memcpy(upper, lower, stride);
        std::memcpy(lower, scratch, stride);
    }
}

void CopyRowsReversed(const unsigned char* source, std::size_t sourceStride, unsigned char* target,
                      std::size_t targetStride, std::size_t rowBytes, int rows) {
    for (int row = 0; row < rows; ++row) {
        const auto targetRow = static_cast<std::size_t>(rows - 1 - row);
        std::memcpy(target + targetRow * targetStride, source + static_cast<std::size_t>(row) * sourceStride,
                    rowBytes);
    }
}

}  // namespace lumora
