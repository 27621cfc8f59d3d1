#include "video/capture_device_ioctl_query.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumora {
namespace {

// The fixed-size, possibly unterminated text fields of v4l2_capability.
template <std::size_t N>
std::string FieldText(const __u8 (&field)[N]) {
    const char* text = reinterpret_cast<const char*>(field);
    return std::string(text, ::strnlen(text, N));
}

int QueryCap(int fd, v4l2_capability& cap) {
    int result;
    do {
        result = ::ioctl(fd, VIDIOC_QUERYCAP, &cap);
    } while (result < 0 && errno == EINTR);
    return result;
}

}  // namespace

std::optional<V4l2Capability> CaptureDeviceIoctlQuery::QueryCapability(
    const std::filesystem::path& node) const {
    // Non-blocking, so that a device busy in another program does not stall the scan.
    const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    v4l2_capability cap{};
    const int result = QueryCap(fd, cap);
    ::close(fd);
    if (result < 0) return std::nullopt;
    return V4l2Capability{FieldText(cap.driver), FieldText(cap.card), cap.capabilities,
                          cap.device_caps};
}

}  // namespace lumora
