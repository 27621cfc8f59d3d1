#include "tools/snapshot_album.h"

#include "tools/snapshot_names.h"

#include <lumora/zimage.h>

#include <QStandardPaths>

#include <cstdlib>
#include <vector>

namespace lumora {

QSize SnapshotAlbum::ThumbnailSize(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    int thumbWidth = width * kThumbnailHeight / height;
    int thumbHeight = kThumbnailHeight;
    if (thumbWidth > kThumbnailWidth) {
        thumbWidth = kThumbnailWidth;
        thumbHeight = height * kThumbnailWidth / width;
    }
    return {std::max(1, thumbWidth), std::max(1, thumbHeight)};
}

QImage SnapshotAlbum::MakeThumbnail(const FrameCopy& frame) {
    if (!frame.pixels || ZImage_CalcImageSize(frame.width, frame.height, 24) != frame.size) return {};
    const QSize size = ThumbnailSize(frame.width, frame.height);
    std::vector<std::uint8_t> scaled(ZImage_CalcImageSize(size.width(), size.height(), 24));
    if (scaled.empty() ||
        !ZImage_Resize(scaled.data(), size.width(), size.height(), frame.pixels.get(), frame.width, frame.height)) {
        return {};
    }
    const QImage bottomUp(scaled.data(), size.width(), size.height(),
                          static_cast<qsizetype>(ZImage_CalcWidthBytes(size.width(), 24)), QImage::Format_BGR888);
    return bottomUp.mirrored();  // a copy of its own
}

std::string SnapshotAlbum::DefaultFolder() {
    const char* variable = std::getenv("XDG_PICTURES_DIR");
    std::string folder = variable != nullptr && *variable == '/'
                             ? std::string(variable)
                             : QStandardPaths::writableLocation(QStandardPaths::PicturesLocation).toStdString();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + "Lumora/";
}

std::optional<int> SnapshotAlbum::Add(FrameCopy frame) {
    if (!frame.pixels || frame.size == 0) return std::nullopt;
    Snapshot snapshot;
    snapshot.thumbnail = MakeThumbnail(frame);
    snapshot.frame = std::move(frame);
    snapshots_.push_back(std::move(snapshot));
    return Count() - 1;
}

bool SnapshotAlbum::HasUnsaved() const {
    for (const Snapshot& snapshot : snapshots_) {
        if (!snapshot.saved) return true;
    }
    return false;
}

SnapshotAlbum::SaveResult SnapshotAlbum::SaveAll(const std::filesystem::path& folder) {
    SaveResult result;
    for (Snapshot& snapshot : snapshots_) {
        const std::optional<int> number = SnapshotNames::FindFree(folder, nextNumber_);
        if (!number) break;
        nextNumber_ = *number + 1;
        const std::filesystem::path file = folder / SnapshotNames::FileName(*number);
        if (!ZImage_SaveJpeg2(file.c_str(), snapshot.frame.pixels.get(), snapshot.frame.width, snapshot.frame.height)) {
            result.failed = file;
            break;
        }
        snapshot.saved = true;
        snapshot.file = file;
        ++result.written;
    }
    return result;
}

}  // namespace lumora
