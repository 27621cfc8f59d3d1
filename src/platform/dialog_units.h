// Dialog units: the measure dialog templates are written in. They scale with the dialog's
// font, so a template keeps its proportions whatever font the desktop uses.
//
// A horizontal unit is a quarter of the font's average character width, a vertical unit
// an eighth of its character height, both computed as Windows computes a dialog's base
// units:
//
//     average width = (advance of "A".."Z" "a".."z" / 26 + 1) / 2   (integer division)
//     height        = ascent + descent
//
// and each of x, y, width and height is converted on its own, rounded to the nearest
// pixel with halves away from zero (MulDiv): x * averageWidth / 4, y * height / 8.
// A template of 214 x 68 units in a font with base units 6 x 13 is 321 x 111 pixels.
//
// A value object; any thread may use it (measuring a font needs the Qt application).
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace lumora {

// A rectangle in dialog units, as a template gives it: left, top, width, height.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class DialogUnits {
public:
    // Base units in pixels; values below 1 count as 1.
    DialogUnits(int averageCharWidth, int charHeight);

    // The base units of `font` on the screen the application paints on.
    static DialogUnits ForFont(const QFont& font);

    int averageCharWidth() const { return averageCharWidth_; }
    int charHeight() const { return charHeight_; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QSize ToPixels(int width, int height) const { return {ToPixelsX(width), ToPixelsY(height)}; }
    QRect ToPixels(const DialogRect& rect) const;

private:
    int averageCharWidth_;
    int charHeight_;
};

// The font a template names, as Lumora shows it. "MS Shell Dlg" (and "MS Shell Dlg 2"),
// the Windows dialog font, is the desktop's default user-interface font: at 8 points as
// the desktop sets it, at other sizes scaled by points / 8. Any other face is asked for
// by name at its size. Needs the Qt application.
QFont TemplateFont(const QString& face, int pointSize);

}  // namespace lumora
