// BgrColour: one 24-bit pixel value in frame byte order. Built from a Windows colour value
// 0x00BBGGRR (the top byte is ignored). A plain value.
#pragma once

#include <cstdint>

namespace lumora::zimage {

struct BgrColour {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;

    static constexpr BgrColour FromColourRef(std::uint32_t colour) noexcept {
        return {static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
                static_cast<std::uint8_t>(colour)};
    }
};

}  // namespace lumora::zimage
