// What the source pipeline's "Grabber" element calls for every frame, on the streaming
// thread: run the frame processor (the effect chain) on the frame in place, keep the
// result in the frame store and tell the user-interface side with MSG_FRAME_READY.
//
// Two ways in:
//   - FrameBlock, then BufferCB on the block it answered: the grabber writes the frame
//     straight into the store's next block, so keeping it costs no copy. The store's lock
//     is held from FrameBlock until that BufferCB.
//   - BufferCB on a buffer of the caller's: the effects run on that buffer in place, and
//     the result is copied into the store.
//
// The streaming thread never waits: when the user-interface thread holds the store's lock,
// FrameBlock answers null, and BufferCB answers E_FAIL with the buffer untouched and the
// frame not stored.
//
// Thread: one streaming thread at a time. Lifetime: borrows the store, which must outlive
// every pipeline using this callback; the store's target must outlive the pipeline too (it
// receives posted events).
#pragma once

#include "frames/frame_store.h"
#include "platform/hresult.h"

#include <cstdint>

namespace lumora {

class MainGrabberCallback {
public:
    explicit MainGrabberCallback(FrameStore& store) : store_(store) {}

    // The store's block for the next frame of `length` bytes, the store locked; null (no
    // lock kept) when the user-interface side holds the lock or memory is short.
    unsigned char* FrameBlock(std::uint32_t length);

    // `buffer` holds `length` bytes of one frame in the VideoFrame layout of the store's
    // format; `sampleTime` is the stream time in seconds. S_OK: stored, the effects may
    // have changed the frame; S_FALSE: stored, the frame is as it came (no effect is on).
    HRESULT BufferCB(double sampleTime, unsigned char* buffer, long length);

private:
    bool Process(const FrameStore::Lock& lock, unsigned char* pixels, std::uint32_t size, double sampleTime);
    void Announce();

    FrameStore& store_;
    FrameStore::Lock pending_;        // held from FrameBlock to its BufferCB
    unsigned char* block_ = nullptr;  // what FrameBlock answered
};

}  // namespace lumora
