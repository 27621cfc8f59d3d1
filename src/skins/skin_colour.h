// Skin colours: 32-bit Windows colour values 0x00BBGGRR, as skin.ini writes them
// ("red,green,blue"). NoColour (0xFFFFFFFF) means "no fill": a consumer that meets it
// skips the fill. Plain values and stateless functions; safe from any thread.
#pragma once

#include <QColor>

#include <cstdint>
#include <string>
#include <string_view>

namespace lumora {

using SkinColour = std::uint32_t;

inline constexpr SkinColour NoColour = 0xFFFFFFFFu;

constexpr SkinColour SkinRgb(int red, int green, int blue) {
    return static_cast<SkinColour>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}

// The text "r,g,b" as a colour. Each part is read like a C integer (leading blanks, sign,
// digits up to the first other character; none gives 0) and cut to its low 8 bits, so
// "300" is 44 and "-1" is 255. Fewer than two commas give NoColour.
SkinColour ParseSkinColour(std::string_view text);

// "%d,%d,%d" of the three components; NoColour has no text form and gives "".
std::string FormatSkinColour(SkinColour colour);

// The opaque Qt colour of a skin colour; NoColour gives an invalid QColor.
QColor ToQColor(SkinColour colour);

}  // namespace lumora
