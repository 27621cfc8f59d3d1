#include "image_loader.h"

#include <QFile>
#include <QImageReader>

#include <cstring>

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
    if (width > 0 && height > 0) reader.setScaledSize(QSize(width, height));
    return reader.read();
}

std::unique_ptr<Bitmap> ImageLoader::ToBitmap(const QImage& image) {
    if (image.isNull()) return nullptr;
    QImage source = image;
    // Premultiplying puts each pixel over black, so what was transparent becomes black
    // rather than whatever colour the file kept under it.
    if (source.hasAlphaChannel()) source = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    source = source.convertToFormat(QImage::Format_BGR888);
    if (source.isNull()) return nullptr;

    std::unique_ptr<Bitmap> bitmap = Bitmap::Create(source.width(), source.height());
    if (!bitmap) return nullptr;
    const auto row_bytes = static_cast<std::size_t>(source.width()) * 3;
    for (int y = 0; y < source.height(); ++y) {
        std::memcpy(bitmap->row(source.height() - 1 - y), source.constScanLine(y), row_bytes);
    }
    return bitmap;
}

}  // namespace lumora::zimage
