// A copy of the current frame, handed to the snapshot manager. Owns its pixels.
#pragma once

#include <cstdint>
#include <memory>

namespace lumora {

struct FrameCopy {
    std::unique_ptr<unsigned char[]> pixels;  // VideoFrame layout; null when there was no frame
    std::uint32_t size = 0;                   // bytes in `pixels`
    std::int32_t width = 0;
    std::int32_t height = 0;
};

}  // namespace lumora
