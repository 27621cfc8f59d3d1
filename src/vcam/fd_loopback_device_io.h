// FdLoopbackDeviceIo: LoopbackDeviceIo over a real device node: open(2) with read and
// write access, non-blocking and close-on-exec, ioctl(2) for the V4L2 calls and write(2)
// for the frames. Interrupted calls are retried; nothing else is. Owns its file
// descriptor (closed on Close and on destruction). One thread at a time.
#pragma once

#include "vcam/loopback_device_io.h"

namespace lumora {

class FdLoopbackDeviceIo final : public LoopbackDeviceIo {
public:
    FdLoopbackDeviceIo() = default;
    ~FdLoopbackDeviceIo() override;
    FdLoopbackDeviceIo(const FdLoopbackDeviceIo&) = delete;
    FdLoopbackDeviceIo& operator=(const FdLoopbackDeviceIo&) = delete;

    int Open(const std::string& path) override;
    void Close() override;
    bool IsOpen() const override { return fd_ >= 0; }

    int QueryCapabilities(v4l2_capability* capability) override;
    int GetFormat(v4l2_format* format) override;
    int SetFormat(v4l2_format* format) override;
    int SetFrameInterval(unsigned numerator, unsigned denominator) override;
    int StreamOn() override;
    int StreamOff() override;
    long Write(const void* data, std::size_t size) override;

private:
    int Ioctl(unsigned long request, void* argument);

    int fd_ = -1;
};

}  // namespace lumora
