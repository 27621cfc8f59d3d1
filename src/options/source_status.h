// SourceStatus: what the main window tells the options window about the current source,
// and the playback state the playback panel takes from it:
//
//   no source, an image or the desktop   kNone: Start, Stop and the position disabled
//   a capture device                     kLive: Start and Stop (kNone while it records)
//   a video file or playlist             kFile: Start, Stop and the position slider
//
// Plain values.
#pragma once

#include "video/source_parameters.h"

namespace lumora {

enum class PlaybackState : int { kNone = 0, kLive = 1, kFile = 2 };

struct SourceStatus {
    SourceKind kind = SourceKind::kNone;
    bool recording = false;  // the capture device's video is being recorded to a file

    // Video flows: the effect controls are enabled.
    bool HasVideo() const { return kind != SourceKind::kNone; }

    PlaybackState Playback() const {
        switch (kind) {
            case SourceKind::kCaptureDevice: return recording ? PlaybackState::kNone : PlaybackState::kLive;
            case SourceKind::kVideoFile: return PlaybackState::kFile;
            default: return PlaybackState::kNone;
        }
    }
};

}  // namespace lumora
