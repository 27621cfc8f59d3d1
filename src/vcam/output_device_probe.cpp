#include "vcam/output_device_probe.h"

#include "vcam/fd_loopback_device_io.h"

#include <sys/stat.h>

#include <cstring>

namespace lumora {

std::uint32_t NodeCapabilities(const v4l2_capability& capability) {
    return (capability.capabilities & V4L2_CAP_DEVICE_CAPS) ? capability.device_caps : capability.capabilities;
}

bool IsLoopbackDriver(const v4l2_capability& capability) {
    const auto* driver = reinterpret_cast<const char*>(capability.driver);
    return ::strncmp(driver, "v4l2 loopback", sizeof capability.driver) == 0;
}

bool TakesVideoOutput(const v4l2_capability& capability) {
    return (NodeCapabilities(capability) & V4L2_CAP_VIDEO_OUTPUT) != 0 || IsLoopbackDriver(capability);
}

bool IsV4l2OutputDevice(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) return false;
    FdLoopbackDeviceIo io;
    if (io.Open(path) != 0) return false;
    v4l2_capability capability;
    return io.QueryCapabilities(&capability) == 0 && TakesVideoOutput(capability);
}

}  // namespace lumora
