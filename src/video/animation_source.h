// AnimationSource: the "Source" of a video-file graph for an animated picture (GIF). It is
// an appsrc whose frames Qt decodes one at a time as the pipeline asks for them: 32-bit
// BGRx frames of the picture's size (transparent parts over black), each stamped with the
// delays of the frames before it and lasting its own delay, then end of stream after the
// last frame, so the animation plays once, like a video. Seeking starts the decoder over
// and skips to the frame shown at the asked time. (GStreamer's own GIF reader stamps every
// frame 0 and never ends.)
//
// Threads: Create on the user-interface thread (a Qt application must exist, for the image
// plug-ins). The decoder then runs on the appsrc's streaming thread and, for a seek, on the
// thread that seeks; one lock guards it.
// Lifetime: the element owns the decoder and frees it when it is destroyed; every frame
// buffer owns its own pixels.
#pragma once

#include <gst/gst.h>

#include <string>

namespace lumora {

class AnimationSource {
public:
    // Whether the file holds a GIF picture (by its first bytes, not its name).
    static bool IsAnimation(const std::string& path);

    // The source for `path` named `name` (a floating reference), or null when Qt cannot
    // decode the file's first frame.
    static GstElement* Create(const std::string& path, const char* name);

    // Frames whose delay is this short or shorter are shown this long, as browsers do.
    static constexpr int kShortestDelayMs = 10;
    static constexpr int kDefaultDelayMs = 100;
};

}  // namespace lumora
