#include "skins/skin_picture_loader.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace lumora {

QImage SkinPictureLoader::Load(const std::filesystem::path& file, QSize size, qreal devicePixelRatio) {
    if (size.isEmpty() || file.empty()) return {};
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage picture = Decode(SourceFor(file, ratio), PixelSize(size, ratio));
    if (!picture.isNull()) picture.setDevicePixelRatio(ratio);
    return picture;
}

QSize SkinPictureLoader::PixelSize(QSize size, qreal devicePixelRatio) {
    const auto scale = [devicePixelRatio](int length) {
        return std::max(1, static_cast<int>(std::lround(length * devicePixelRatio)));
    };
    return {scale(size.width()), scale(size.height())};
}

std::filesystem::path SkinPictureLoader::SourceFor(const std::filesystem::path& file, qreal devicePixelRatio) {
    if (devicePixelRatio <= 1.0) return file;
    std::filesystem::path sharper = file;
    sharper.replace_filename(file.stem().string() + "@2x" + file.extension().string());
    std::error_code error;
    return std::filesystem::is_regular_file(sharper, error) ? sharper : file;
}

QImage SkinPictureLoader::Decode(const std::filesystem::path& file, QSize pixels) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return {};
    QImageReader reader(QFile::decodeName(file.c_str()));
    const QSize own = reader.size();  // from the header, without decoding
    if (own.isValid() && static_cast<qint64>(own.width()) * own.height() > kMaxPixels) return {};
    // Readers that can (JPEG, SVG) decode straight at the item size; others decode whole
    // and are scaled afterwards.
    reader.setScaledSize(pixels);
    QImage image = reader.read();
    if (image.isNull()) return {};
    if (image.size() != pixels) image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage::Format format = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return image.format() == format ? image : image.convertToFormat(format);
}

}  // namespace lumora
