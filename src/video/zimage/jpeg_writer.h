// JpegWriter: writes a frame to a JPEG file with Qt's JPEG writer (libjpeg-turbo), quality
// 90, top row first as every JPEG viewer expects. The file appears only when it is
// complete: the data goes to a temporary file beside it that is renamed over the target at
// the end (QSaveFile). Stateless; safe on any thread once the Qt application exists.
#pragma once

#include "frame_view.h"

namespace lumora::zimage {

class JpegWriter {
public:
    static constexpr int kQuality = 90;

    // False when the folder is not writable, the encoder is missing or fails, or memory
    // runs out; the target is then left as it was.
    static bool Save(const char* path, const ConstFrameView& frame);
};

}  // namespace lumora::zimage
