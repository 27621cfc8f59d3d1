#include "jpeg_writer.h"

#include <QFile>
#include <QSaveFile>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <vector>

namespace lumora::zimage {

// OpenCV's encoder (libjpeg-turbo with plain Huffman tables) is two to three times faster
// than Qt's for the same quality, which matters for interval snapshots.
bool JpegWriter::Save(const char* path, const ConstFrameView& frame) {
    if (path == nullptr || *path == '\0') return false;
    // The frame keeps its bottom row first, the file its top row.
    cv::Mat topDown;
    cv::flip(frame.AsMat(), topDown, 0);
    std::vector<uchar> encoded;
    if (!cv::imencode(".jpg", topDown, encoded, {cv::IMWRITE_JPEG_QUALITY, kQuality})) return false;

    QSaveFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    const auto size = static_cast<qint64>(encoded.size());
    if (file.write(reinterpret_cast<const char*>(encoded.data()), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace lumora::zimage
