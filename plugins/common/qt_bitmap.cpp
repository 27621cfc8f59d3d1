#include "common/qt_bitmap.h"

#include <QImage>

namespace lumora::plugins {

std::unique_ptr<Bitmap> BitmapFromImage(const QImage& image) {
    std::unique_ptr<Bitmap> bitmap = Bitmap::Create(image.width(), image.height());
    if (!bitmap) return nullptr;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < bitmap->height(); ++y) {
        const uchar* from = rgb.constScanLine(bitmap->height() - 1 - y);
        std::uint8_t* to = bitmap->row(y);
        for (int x = 0; x < bitmap->width(); ++x) {
            to[3 * x] = from[3 * x + 2];
            to[3 * x + 1] = from[3 * x + 1];
            to[3 * x + 2] = from[3 * x];
        }
    }
    return bitmap;
}

AlphaMask AlphaMaskFromImage(const QImage& image) {
    AlphaMask mask;
    if (image.isNull()) return mask;
    const QImage alpha = image.convertToFormat(QImage::Format_Alpha8);
    mask.Resize(alpha.width(), alpha.height());
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* from = alpha.constScanLine(mask.height() - 1 - y);
        std::copy(from, from + mask.width(), mask.Row(y));
    }
    return mask;
}

}  // namespace lumora::plugins
