// LoopbackDeviceIo: the few device calls the virtual camera adapter makes on a V4L2
// output device, behind an interface so the adapter can run against a simulated
// v4l2loopback device in tests (FakeLoopbackDevice) as well as the real one
// (FdLoopbackDeviceIo).
//
// One object is one handle: Open() acquires it, Close() (or destruction) releases it, and
// the object may be opened again afterwards (a reconnect reopens the same object).
// Every call answers 0 or a positive errno value; Write answers the bytes written or a
// negative errno value, and a count below the size asked for is a short write.
//
// Threads: an object is used by one thread at a time; the caller serialises.
#pragma once

#include <linux/videodev2.h>

#include <cstddef>
#include <string>

namespace lumora {

class LoopbackDeviceIo {
public:
    virtual ~LoopbackDeviceIo() = default;

    virtual int Open(const std::string& path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual int QueryCapabilities(v4l2_capability* capability) = 0;
    // G_FMT / S_FMT with the buffer type the caller put into `format`.
    virtual int GetFormat(v4l2_format* format) = 0;
    virtual int SetFormat(v4l2_format* format) = 0;
    // S_PARM for the output queue: the frame interval clients are told.
    virtual int SetFrameInterval(unsigned numerator, unsigned denominator) = 0;
    virtual int StreamOn() = 0;
    virtual int StreamOff() = 0;
    virtual long Write(const void* data, std::size_t size) = 0;
};

}  // namespace lumora
