// SkinPictureLoader: reads a skin's picture file at the size of its item. Any format Qt's
// image readers know (BMP, JPEG, GIF, ICO, PNG, ...) is read and scaled to the item size,
// whatever the file's own size.
//
// At a device pixel ratio above 1 the picture is made at that many pixels per item pixel
// (and carries the ratio), read from "name@2x.ext" beside the file when there is one, so
// that the chrome stays sharp on such screens.
//
// The file's size is checked before decoding: a picture of more than kMaxPixels is not
// read (it reads as none), so a hostile file cannot make the program allocate gigabytes.
// Stateless; the Qt application must exist (the readers are plug-ins). Pictures with
// transparency keep it (premultiplied 32-bit); others are 32-bit opaque.
#pragma once

#include <QImage>
#include <QSize>

#include <filesystem>

namespace lumora {

class SkinPictureLoader {
public:
    static constexpr qint64 kMaxPixels = 32LL * 1024 * 1024;

    // `size` in item pixels; a null picture when the file is missing, unreadable, too large
    // or not a picture, or the size is empty.
    static QImage Load(const std::filesystem::path& file, QSize size, qreal devicePixelRatio);

    // The pixel size of an item of `size` at `devicePixelRatio` (at least 1 x 1).
    static QSize PixelSize(QSize size, qreal devicePixelRatio);

private:
    static std::filesystem::path SourceFor(const std::filesystem::path& file, qreal devicePixelRatio);
    static QImage Decode(const std::filesystem::path& file, QSize pixels);
};

}  // namespace lumora
