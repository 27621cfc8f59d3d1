#include "vcam/loopback_sysfs.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumora {
namespace {

namespace fs = std::filesystem;

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

std::optional<int> DeviceNumber(const std::string& entry) {
    constexpr std::string_view kPrefix = "video";
    if (entry.size() <= kPrefix.size() || entry.compare(0, kPrefix.size(), kPrefix) != 0) return std::nullopt;
    const std::string digits = entry.substr(kPrefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
    if (digits.size() > 6) return std::nullopt;
    return std::stoi(digits);
}

std::vector<int> VersionParts(const std::string& version) {
    std::vector<int> parts;
    std::istringstream in(version);
    std::string part;
    while (std::getline(in, part, '.')) parts.push_back(std::atoi(part.c_str()));
    return parts;
}

}  // namespace

LoopbackSysfs::LoopbackSysfs(std::string root) : root_(std::move(root)) {}

bool LoopbackSysfs::ModuleLoaded() const {
    std::error_code ignored;
    return fs::is_directory(fs::path(root_) / "sys/module/v4l2loopback", ignored);
}

std::string LoopbackSysfs::ModuleVersion() const {
    return FirstLine(fs::path(root_) / "sys/module/v4l2loopback/version");
}

std::vector<VideoDeviceEntry> LoopbackSysfs::VideoDevices() const {
    std::vector<VideoDeviceEntry> devices;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(root_) / "sys/class/video4linux", error)) {
        const std::string leaf = entry.path().filename().string();
        const auto number = DeviceNumber(leaf);
        if (!number) continue;
        devices.push_back({*number, "/dev/" + leaf, FirstLine(entry.path() / "name")});
    }
    std::sort(devices.begin(), devices.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return devices;
}

std::optional<VideoDeviceEntry> LoopbackSysfs::FindByName(const std::string& name) const {
    for (VideoDeviceEntry& device : VideoDevices()) {
        if (device.name == name) return std::move(device);
    }
    return std::nullopt;
}

int CompareVersions(const std::string& a, const std::string& b) {
    const std::vector<int> left = VersionParts(a);
    const std::vector<int> right = VersionParts(b);
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        const int l = i < left.size() ? left[i] : 0;
        const int r = i < right.size() ? right[i] : 0;
        if (l != r) return l < r ? -1 : 1;
    }
    return 0;
}

}  // namespace lumora
