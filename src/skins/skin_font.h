// SkinFont: a font as a skin describes it (face, size in points, bold, italic, underline),
// and its conversion to a QFont for a paint device. Plain values and stateless functions;
// the QFont functions need the Qt application (user-interface thread).
#pragma once

#include <QFont>

#include <cstddef>
#include <cstdint>
#include <string>

class QPaintDevice;

namespace lumora {

struct SkinFont {
    static constexpr std::size_t kMaxFaceLength = 31;  // characters kept of a face name

    std::string face;       // empty: the desktop's default face
    std::int32_t size = 0;  // points; 0: the desktop's default height
    std::uint8_t bold = 0;  // each flag 0 or 1
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;

    bool operator==(const SkinFont&) const = default;
};

// The pixel height of `points` on a device of `dpiY` dots per inch: points x dpi / 72,
// rounded half away from zero.
int SkinFontPixelHeight(std::int32_t points, int dpiY);

// The font of `font` on a device of `dpiY` vertical dots per inch: the character height
// of SkinFontPixelHeight (0 keeps the default height), weight bold or normal, italic and
// underline as given. A face that is not installed falls back to the desktop's
// sans-serif font, as does an empty one.
QFont SkinFontToLogFont(int dpiY, const SkinFont& font);

// SkinFontToLogFont for the logical vertical resolution of `device`.
QFont CreateSkinFont(const QPaintDevice& device, const SkinFont& font);

}  // namespace lumora
