// What the frame hand-off runs on every frame before it is stored: the effect chain.
// Called on a streaming thread with the frame in the VideoFrame layout, in place.
#pragma once

namespace lumora {

class FrameProcessor {
public:
    // `pixels` holds one frame of `width` × `height`; `time` is the stream time in seconds.
    // False when nothing touched the frame (no effect is switched on), so the caller need
    // not write it back anywhere.
    virtual bool ProcessFrame(unsigned char* pixels, int width, int height, double time) = 0;

protected:
    ~FrameProcessor() = default;
};

}  // namespace lumora
