// Brightness kernels shared by the filters: the luma of a blue-green-red pixel, 0 to 255,
// with Rec. 601 weights in 256ths that add up to 256 (so grey stays the same grey). The
// sum fits 16 bits, which lets the vectoriser work on sixteen pixels at a time.
// Stateless; any thread.
#pragma once

#include <cstdint>

namespace lumora::plugins {

inline std::uint8_t Luma(std::uint8_t blue, std::uint8_t green, std::uint8_t red) noexcept {
    return static_cast<std::uint8_t>(static_cast<std::uint16_t>(29 * blue + 150 * green + 77 * red + 128) >> 8);
}

// Every pixel of the row becomes grey: its luma in all three channels.
void GreyRow(std::uint8_t* pixels, std::int32_t width) noexcept;

// The luma of every pixel of the row, into `luma` (width bytes).
void LumaRow(const std::uint8_t* pixels, std::uint8_t* luma, std::int32_t width) noexcept;

}  // namespace lumora::plugins
