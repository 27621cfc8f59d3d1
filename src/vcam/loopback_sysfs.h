// LoopbackSysfs: what the kernel says about the v4l2loopback module and the video devices,
// read from sysfs: /sys/module/v4l2loopback (loaded? version) and
// /sys/class/video4linux/videoN/name (the card name of each device). The root folder is
// a parameter so tests can lay out a tree of their own.
//
// Reads the files afresh on every call; owns nothing; any thread.
#pragma once

#include "vcam/virtual_camera_name.h"

#include <optional>
#include <string>
#include <vector>

namespace lumora {

struct VideoDeviceEntry {
    int number = 0;
    std::string node;  // "/dev/videoN"
    std::string name;  // the card name
};

class LoopbackSysfs {
public:
    explicit LoopbackSysfs(std::string root = "/");

    bool ModuleLoaded() const;
    // "0.12.7"; empty when the module is not loaded or does not say.
    std::string ModuleVersion() const;
    // Every video device, in device-number order.
    std::vector<VideoDeviceEntry> VideoDevices() const;
    std::optional<VideoDeviceEntry> FindByName(const std::string& name) const;

private:
    std::string root_;
};

// Compares dotted version numbers ("0.12.7" < "0.13"); missing parts count as 0.
// Negative, zero or positive like strcmp.
int CompareVersions(const std::string& a, const std::string& b);

}  // namespace lumora
