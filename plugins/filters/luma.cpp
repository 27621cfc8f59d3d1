#include "filters/luma.h"

#include "common/vector_kernel.h"

namespace lumora::plugins {

LUMORA_VECTOR_KERNEL void GreyRow(std::uint8_t* p, std::int32_t width) noexcept {
    for (std::int32_t x = 0; x < width; ++x) {
        const std::uint8_t luma = Luma(p[3 * x], p[3 * x + 1], p[3 * x + 2]);
        p[3 * x] = luma;
        p[3 * x + 1] = luma;
        p[3 * x + 2] = luma;
    }
}

LUMORA_VECTOR_KERNEL void LumaRow(const std::uint8_t* p, std::uint8_t* luma, std::int32_t width) noexcept {
    for (std::int32_t x = 0; x < width; ++x) luma[x] = Luma(p[3 * x], p[3 * x + 1], p[3 * x + 2]);
}

}  // namespace lumora::plugins
