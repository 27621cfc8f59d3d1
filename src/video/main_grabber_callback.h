// What the source pipeline's "Grabber" element calls for every frame, on the streaming
// thread: run the frame processor (the effect chain) on the frame in place, copy the
// result into the frame store and tell the user-interface side with MSG_FRAME_READY.
//
// The streaming thread never waits: when the user-interface thread holds the store's lock,
// the frame goes on downstream untouched and is not stored (answer E_FAIL).
//
// Lifetime: borrows the store, which must outlive every pipeline using this callback;
// the store's target must outlive the pipeline too (it receives posted events).
#pragma once

#include "frames/frame_store.h"
#include "platform/hresult.h"

namespace lumora {

class MainGrabberCallback {
public:
    explicit MainGrabberCallback(FrameStore& store) : store_(store) {}

    // `buffer` holds `length` bytes of one frame in the VideoFrame layout of the store's
    // format; `sampleTime` is the stream time in seconds. S_OK: stored, the effects may
    // have changed the frame; S_FALSE: stored, the frame is as it came (no effect is on).
    HRESULT BufferCB(double sampleTime, unsigned char* buffer, long length);

private:
    FrameStore& store_;
};

}  // namespace lumora
