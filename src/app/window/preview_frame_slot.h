// PreviewFrameSlot: the hand-over of preview frames from the streaming thread to the
// user-interface thread. The streaming side copies each frame into the back picture under
// the lock; the user-interface side swaps it for the one it shows under the same lock, so
// a painted picture is always one whole frame and never written while it is drawn.
//
// The pictures are QImage::Format_RGB32, which surfaces draw without converting.
//
// Put answers whether the user interface needs telling: only the first frame after a Take
// does, so a busy user interface gets one pending update, not a queue of them.
//
// Thread: Put on a streaming thread, Take on the user-interface thread; everything else
// under the lock. The pictures are owned and grow with the frames; they are not widgets.
#pragma once

#include "video/preview_target.h"

#include <QImage>

#include <cstdint>
#include <mutex>

namespace lumora {

class PreviewFrameSlot {
public:
    // Copies `frame` (top row first, 24-bit BGR); true when no update is pending yet.
    // Frames without pixels or with impossible sizes are ignored (false).
    bool Put(const PreviewFrame& frame);

    // Swaps the newest frame into `shown` when one came since the last Take; false (and
    // `shown` untouched) otherwise.
    bool Take(QImage& shown);

    // Forgets the frame that waits (the video was hidden).
    void Clear();

    std::uint64_t FramesPut() const;

private:
    mutable std::mutex mutex_;
    QImage back_;
    bool fresh_ = false;
    bool updatePending_ = false;
    std::uint64_t framesPut_ = 0;
};

}  // namespace lumora
