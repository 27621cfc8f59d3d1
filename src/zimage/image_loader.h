// ImageLoader: decodes picture files with Qt's image readers (BMP, JPEG, GIF, ICO, PNG and
// whatever other plug-ins are installed) into Bitmaps in the VideoFrame layout, upright as
// their orientation tag (EXIF) says. Stateless;
// each call reads the file afresh and hands the caller a Bitmap it owns. Safe on any thread
// once the Qt application exists (Qt finds its image plug-ins through it).
#pragma once

#include <lumora/bitmap.h>

#include <QImage>

#include <cstdint>
#include <memory>

namespace lumora::zimage {

class ImageLoader {
public:
    // The picture at its own size; null when the file is missing, unreadable, or too big.
    static std::unique_ptr<Bitmap> Load(const char* path);
    // The picture scaled to width x height (smooth scaling, aspect ratio not kept).
    static std::unique_ptr<Bitmap> LoadScaled(const char* path, std::int32_t width, std::int32_t height);

private:
    // Decodes the first picture of the file, scaled when `width` is positive.
    static QImage Decode(const char* path, std::int32_t width, std::int32_t height);
    // Copies a top-down Qt image into a new bottom-up Bitmap; transparent parts end up
    // over black.
    static std::unique_ptr<Bitmap> ToBitmap(const QImage& image);
};

}  // namespace lumora::zimage
