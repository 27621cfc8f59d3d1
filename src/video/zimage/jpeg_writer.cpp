#include "jpeg_writer.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <cstring>

namespace lumora::zimage {

bool JpegWriter::Save(const char* path, const ConstFrameView& frame) {
    if (path == nullptr || *path == '\0') return false;
    QImage image(frame.width(), frame.height(), QImage::Format_BGR888);
    if (image.isNull()) return false;
    // The frame keeps its bottom row first, the file its top row.
    const auto row_bytes = static_cast<std::size_t>(frame.width()) * 3;
    for (int y = 0; y < frame.height(); ++y) {
        std::memcpy(image.scanLine(y), frame.pixel(0, frame.height() - 1 - y), row_bytes);
    }

    QSaveFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(kQuality);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace lumora::zimage
