#include "video/grabber_frame_layout.h"

#include <cstring>

namespace lumora {

void CopyRowsReversed(const unsigned char* source, std::size_t sourceStride, unsigned char* target,
                      std::size_t targetStride, std::size_t rowBytes, int rows) {
    for (int row = 0; row < rows; ++row) {
        const auto targetRow = static_cast<std::size_t>(rows - 1 - row);
        std::memcpy(target + targetRow * targetStride, source + static_cast<std::size_t>(row) * sourceStride,
                    rowBytes);
    }
}

}  // namespace lumora
