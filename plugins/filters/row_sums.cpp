#include "filters/row_sums.h"

#include "common/vector_kernel.h"

namespace lumora::plugins {

LUMORA_VECTOR_KERNEL void StartRowSums(std::uint16_t* sums, const std::uint8_t* row, std::size_t bytes) noexcept {
    for (std::size_t i = 0; i < bytes; ++i) sums[i] = row[i];
}

LUMORA_VECTOR_KERNEL void AddRowTo(std::uint16_t* sums, const std::uint8_t* row, std::size_t bytes) noexcept {
    for (std::size_t i = 0; i < bytes; ++i) sums[i] = static_cast<std::uint16_t>(sums[i] + row[i]);
}

LUMORA_VECTOR_KERNEL void FoldSums(std::uint16_t* sums, std::size_t count, std::size_t step) noexcept {
    // Each sum reads one further on that this pass has not changed yet.
    for (std::size_t i = 0; i + step < count; ++i) sums[i] = static_cast<std::uint16_t>(sums[i] + sums[i + step]);
}

}  // namespace lumora::plugins
