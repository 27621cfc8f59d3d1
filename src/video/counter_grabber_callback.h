// What the recording branch's "Grabber Counter" element calls for every buffer on its way
// to the file writer, on the streaming thread: count its bytes. Never waits; a busy
// counter leaves the buffer uncounted. Always answers S_OK.
// Lifetime: borrows the counter, which must outlive every pipeline using this callback.
#pragma once

#include "frames/recorded_bytes_counter.h"
#include "platform/hresult.h"

namespace lumora {

class CounterGrabberCallback {
public:
    explicit CounterGrabberCallback(RecordedBytesCounter& counter) : counter_(counter) {}

    HRESULT BufferCB(double sampleTime, const unsigned char* buffer, long length);

private:
    RecordedBytesCounter& counter_;
};

}  // namespace lumora
