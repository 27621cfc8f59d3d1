#include "image_loader.h"

#include "row_converter.h"

#include <QFile>
#include <QImageReader>


// Qt's 32-bit formats are words 0xAARRGGBB: blue comes first in memory only on
// little-endian machines.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RGB32 rows are read as blue, green, red, unused bytes");

namespace lumora::zimage {

std::unique_ptr<Bitmap> ImageLoader::Load(const char* path) {
    return ToBitmap(Decode(path, 0, 0));
}

std::unique_ptr<Bitmap> ImageLoader::LoadScaled(const char* path, std::int32_t width, std::int32_t height) {
    if (!VideoFrameLayout::Of(width, height).valid()) return nullptr;
    QImage image = Decode(path, width, height);
    // Readers that cannot scale while decoding leave it to QImageReader, which normally
    // scales afterwards; make sure the size is right whatever the plug-in did.
    if (!image.isNull() && image.size() != QSize(width, height)) {
        image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return ToBitmap(image);
}

QImage ImageLoader::Decode(const char* path, std::int32_t width, std::int32_t height) {
    if (path == nullptr || *path == '\0') return {};
    QImageReader reader(QFile::decodeName(path));
    // Upright, as the camera's orientation tag (EXIF) says the picture is to be seen.
    reader.setAutoTransform(true);
    if (width > 0 && height > 0) {
        // The reader scales before it turns: a picture turned a quarter is scaled to the
        // size with width and height swapped.
        const bool quarterTurn = (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0;
        reader.setScaledSize(quarterTurn ? QSize(height, width) : QSize(width, height));
    }
    return reader.read();
}

std::unique_ptr<Bitmap> ImageLoader::ToBitmap(const QImage& image) {
    if (image.isNull()) return nullptr;
    // Four bytes a pixel, blue first in memory. Premultiplying puts each pixel over black,
    // so what was transparent becomes black rather than whatever colour the file kept
    // under it. Most decoders hand out one of these formats already.
    const QImage::Format format =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage source = image.format() == format ? image : image.convertToFormat(format);
    if (source.isNull()) return nullptr;

    std::unique_ptr<Bitmap> bitmap = Bitmap::Create(source.width(), source.height());
    if (!bitmap) return nullptr;
    const int height = source.height();
    const auto width = static_cast<std::size_t>(source.width());
    for (int y = 0; y < height; ++y) RowConverter::BgrxToBgr(source.constScanLine(y), bitmap->row(height - 1 - y), width);
    return bitmap;
}

}  // namespace lumora::zimage
