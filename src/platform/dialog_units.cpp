#include "platform/dialog_units.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <cstdint>

namespace lumora {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kDesktopPointSize = 8;

// value * numerator / denominator rounded to the nearest integer, halves away from zero;
// `denominator` is positive.
int MulDiv(int value, int numerator, int denominator) {
    const std::int64_t product = std::int64_t{value} * numerator;
    const std::int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

bool IsShellDialogFace(const QString& face) {
    return face.compare("MS Shell Dlg", Qt::CaseInsensitive) == 0 ||
           face.compare("MS Shell Dlg 2", Qt::CaseInsensitive) == 0;
}

}  // namespace

DialogUnits::DialogUnits(int averageCharWidth, int charHeight)
        : averageCharWidth_(std::max(averageCharWidth, 1)), charHeight_(std::max(charHeight, 1)) {}

DialogUnits DialogUnits::ForFont(const QFont& font) {
    const QFontMetrics metrics(font);
    // The sum of the glyphs' own advances, without kerning, as a text extent on Windows.
    int alphabet = 0;
    for (const char* c = kAlphabet; *c; ++c) alphabet += metrics.horizontalAdvance(QChar(*c));
    return DialogUnits((alphabet / 26 + 1) / 2, metrics.ascent() + metrics.descent());
}

int DialogUnits::ToPixelsX(int units) const { return MulDiv(units, averageCharWidth_, 4); }

int DialogUnits::ToPixelsY(int units) const { return MulDiv(units, charHeight_, 8); }

QRect DialogUnits::ToPixels(const DialogRect& rect) const {
    return {ToPixelsX(rect.x), ToPixelsY(rect.y), ToPixelsX(rect.width), ToPixelsY(rect.height)};
}

QFont TemplateFont(const QString& face, int pointSize) {
    if (!IsShellDialogFace(face)) return QFont(face, pointSize);
    QFont font = QGuiApplication::font();
    if (pointSize == kDesktopPointSize || pointSize <= 0) return font;
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * pointSize / kDesktopPointSize);
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(1, font.pixelSize() * pointSize / kDesktopPointSize));
    }
    return font;
}

}  // namespace lumora
