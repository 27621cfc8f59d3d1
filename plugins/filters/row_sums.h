// Column sums over bands of rows, for the filters that average blocks of pixels.
// Stateless; any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora::plugins {

// sums[i] = row[i] for the `bytes` bytes of a row: the first row of a band.
void StartRowSums(std::uint16_t* sums, const std::uint8_t* row, std::size_t bytes) noexcept;

// sums[i] += row[i]. The 16-bit sums hold up to 257 rows.
void AddRowTo(std::uint16_t* sums, const std::uint8_t* row, std::size_t bytes) noexcept;

// sums[i] += sums[i + step] for i + step < count, in place: run with steps 3, 6, 12, ...
// and sums[24 * x + c] becomes the sum of channel c over pixels 8x to 8x + 7, and so on.
void FoldSums(std::uint16_t* sums, std::size_t count, std::size_t step) noexcept;

}  // namespace lumora::plugins
