#include "options/effect_icon.h"

#include <lumora/bitmap.h>

namespace lumora {

QImage EffectIconImage(const Bitmap* icon) {
    if (icon == nullptr || icon->width() <= 0 || icon->height() <= 0) return {};
    const QImage rows(icon->data(), icon->width(), icon->height(), static_cast<qsizetype>(icon->stride()),
                      QImage::Format_BGR888);
    // The bitmap's first row is the bottom one; mirrored() also copies the pixels.
    return rows.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
}

}  // namespace lumora
