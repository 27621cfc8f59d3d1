#include "skins/skin_colour.h"

#include "platform/profile_syntax.h"

namespace lumora {

SkinColour ParseSkinColour(std::string_view text) {
    const std::size_t first = text.find(',');
    if (first == std::string_view::npos) return NoColour;
    const std::size_t second = text.find(',', first + 1);
    if (second == std::string_view::npos) return NoColour;
    // The profile reader takes integers the way the C library does, wrapping at 32 bits.
    const int red = ParseProfileInt(text.substr(0, first));
    const int green = ParseProfileInt(text.substr(first + 1, second - first - 1));
    const int blue = ParseProfileInt(text.substr(second + 1));
    return SkinRgb(red, green, blue);
}

std::string FormatSkinColour(SkinColour colour) {
    if (colour == NoColour) return {};
    return std::to_string(colour & 0xFF) + "," + std::to_string(colour >> 8 & 0xFF) + "," +
           std::to_string(colour >> 16 & 0xFF);
}

QColor ToQColor(SkinColour colour) {
    if (colour == NoColour) return {};
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                  static_cast<int>(colour >> 16 & 0xFF));
}

}  // namespace lumora
