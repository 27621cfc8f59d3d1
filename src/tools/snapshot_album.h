// SnapshotAlbum: the snapshots the snapshot manager holds in memory until they are saved,
// in the order they were taken, each with its thumbnail, and how they are written into a
// folder as snapshot000.jpg ... snapshot999.jpg (SnapshotNames).
//
// A thumbnail is at most 120 x 90 with the frame's proportions: 90 high and width x 90 /
// height wide, or, when that is wider than 120, 120 wide and height x 120 / width high
// (640 x 480 gives 120 x 90, 176 x 144 110 x 90, 1280 x 720 120 x 67).
//
// Saving writes every snapshot, saved before or not, under the next free number from the
// album's numbering (which starts at 0 and only grows until ResetNumbering), so saving twice
// writes every picture twice and never replaces an earlier file. It stops at the first
// snapshot that finds no free number, and at the first file that cannot be written (that
// snapshot and the ones after it stay unsaved).
//
// Thread: user-interface thread (Qt's image classes are used on it only).
#pragma once

#include "frames/frame_copy.h"

#include <QImage>
#include <QSize>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

struct Snapshot {
    FrameCopy frame;
    QImage thumbnail;  // null when it could not be made
    bool saved = false;
    std::filesystem::path file;  // the last file it was saved as, or empty
};

class SnapshotAlbum {
public:
    static constexpr int kThumbnailWidth = 120;
    static constexpr int kThumbnailHeight = 90;

    static QSize ThumbnailSize(int width, int height);
    // The frame scaled to its thumbnail size (top row first); null for an empty frame.
    static QImage MakeThumbnail(const FrameCopy& frame);

    // The default folder of the snapshots: $XDG_PICTURES_DIR/Lumora/ (with its "/").
    static std::string DefaultFolder();

    // Takes a frame with pixels (an empty one is refused: none). Its index.
    std::optional<int> Add(FrameCopy frame);
    void Clear() { snapshots_.clear(); }
    int Count() const { return static_cast<int>(snapshots_.size()); }
    const Snapshot& At(int index) const { return snapshots_[static_cast<std::size_t>(index)]; }
    bool HasUnsaved() const;

    void ResetNumbering() { nextNumber_ = 0; }
    int NextNumber() const { return nextNumber_; }

    struct SaveResult {
        int written = 0;
        std::filesystem::path failed;  // the file that could not be written, or empty
    };
    // Writes every snapshot into `folder` (which must exist).
    SaveResult SaveAll(const std::filesystem::path& folder);

private:
    std::vector<Snapshot> snapshots_;
    int nextNumber_ = 0;
};

}  // namespace lumora
