#include "skins/skin_font.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <QStringList>

#include <cstdlib>

namespace lumora {

int SkinFontPixelHeight(std::int32_t points, int dpiY) {
    const long long product = static_cast<long long>(points) * dpiY;
    const long long rounded = (std::llabs(product) + 36) / 72;
    return static_cast<int>(product < 0 ? -rounded : rounded);
}

QFont SkinFontToLogFont(int dpiY, const SkinFont& font) {
    QFont result = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QString face = QString::fromStdString(font.face);
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
        result.setFamilies(QStringList{face});
    } else {
        result.setStyleHint(QFont::SansSerif);
    }
    // A negative height in a Windows font asks for that character height, which is what a
    // pixel size means to Qt; the sign of the points does not change the size.
    const int height = std::abs(SkinFontPixelHeight(font.size, dpiY));
    if (height > 0) result.setPixelSize(height);
    result.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    result.setItalic(font.italic != 0);
    result.setUnderline(font.underline != 0);
    return result;
}

QFont CreateSkinFont(const QPaintDevice& device, const SkinFont& font) {
    return SkinFontToLogFont(device.logicalDpiY(), font);
}

}  // namespace lumora
