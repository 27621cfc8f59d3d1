#include "vcam/fd_loopback_device_io.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumora {

FdLoopbackDeviceIo::~FdLoopbackDeviceIo() { Close(); }

int FdLoopbackDeviceIo::Open(const std::string& path) {
    if (fd_ >= 0) return EBUSY;
    do {
        fd_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    return fd_ < 0 ? errno : 0;
}

void FdLoopbackDeviceIo::Close() {
    if (fd_ < 0) return;
    ::close(fd_);  // no retry on EINTR: the descriptor is gone either way on Linux
    fd_ = -1;
}

int FdLoopbackDeviceIo::Ioctl(unsigned long request, void* argument) {
    if (fd_ < 0) return EBADF;
    int result;
    do {
        result = ::ioctl(fd_, request, argument);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? errno : 0;
}

int FdLoopbackDeviceIo::QueryCapabilities(v4l2_capability* capability) {
    std::memset(capability, 0, sizeof *capability);
    return Ioctl(VIDIOC_QUERYCAP, capability);
}

int FdLoopbackDeviceIo::GetFormat(v4l2_format* format) { return Ioctl(VIDIOC_G_FMT, format); }

int FdLoopbackDeviceIo::SetFormat(v4l2_format* format) { return Ioctl(VIDIOC_S_FMT, format); }

int FdLoopbackDeviceIo::SetFrameInterval(unsigned numerator, unsigned denominator) {
    v4l2_streamparm parameters;
    std::memset(&parameters, 0, sizeof parameters);
    parameters.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
    parameters.parm.output.timeperframe.numerator = numerator;
    parameters.parm.output.timeperframe.denominator = denominator;
    return Ioctl(VIDIOC_S_PARM, &parameters);
}

int FdLoopbackDeviceIo::StreamOn() {
    int type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
    return Ioctl(VIDIOC_STREAMON, &type);
}

int FdLoopbackDeviceIo::StreamOff() {
    int type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
    return Ioctl(VIDIOC_STREAMOFF, &type);
}

long FdLoopbackDeviceIo::Write(const void* data, std::size_t size) {
    if (fd_ < 0) return -EBADF;
    ssize_t written;
    do {
        written = ::write(fd_, data, size);
    } while (written < 0 && errno == EINTR);
    return written < 0 ? -static_cast<long>(errno) : static_cast<long>(written);
}

}  // namespace lumora
