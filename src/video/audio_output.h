// AudioOutput: where the sound of a video file goes — a small bin named "Audio Renderer"
// (queue, converter, resampler, sink) joined to the decoder's audio pad. The sink is the
// default audio output (autoaudiosink, which falls back to a fake sink by itself when no
// sound server or card answers) while the graph plays in real time, and a fake sink that
// does not synchronise when it plays as fast as it can; a fake sink too when autoaudiosink
// is not installed. A sound that cannot be joined is dropped; it is never an error.
//
// Threads: called from the decoder's pad-added handler on a streaming thread (or any
// thread while the pipeline is in NULL).
#pragma once

#include <gst/gst.h>

namespace lumora {

class AudioOutput {
public:
    // Adds the audio bin to `pipeline` in the pipeline's state and links `pad` to it.
    // False (nothing left behind in the pipeline) when that fails.
    static bool Attach(GstBin* pipeline, GstPad* pad, bool realTime);

    // The bin, not yet added anywhere (a floating reference), or null.
    static GstElement* CreateBin(bool realTime);
};

}  // namespace lumora
