// What the source graph builds: the kind of the one current source and its settings.
//
// Plain values, owned by the SourceGraph and used on the user-interface thread. The capture
// device element of a kind-1 source is held by the graph itself (it is a GStreamer object).
#pragma once

#include <lumora/zimage.h>

#include <cstdint>
#include <string>

namespace lumora {

enum class SourceKind : int {
    kNone = 0,
    kCaptureDevice = 1,
    kVideoFile = 2,
    kImageFile = 3,
    kDesktop = 4,
};

struct SourceParameters {
    SourceKind kind = SourceKind::kNone;
    std::string fileName;          // kinds 2 and 3
    ZImageRect desktopRect{};      // kind 4, passed to the desktop source unchanged
    std::int32_t width = 0;        // output size and rate, kinds 3 and 4
    std::int32_t height = 0;
    std::int32_t framesPerSecond = 0;
};

}  // namespace lumora
