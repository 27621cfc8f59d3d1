#include "vcam/device_openers.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace lumora {
namespace {

namespace fs = std::filesystem;

bool IsProcessId(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool HoldsOpen(const fs::path& fdFolder, const std::string& node, bool* denied) {
    std::error_code error;
    fs::directory_iterator fds(fdFolder, error);
    if (error) {
        *denied = true;
        return false;
    }
    for (const auto& fd : fds) {
        std::error_code ignored;
        if (fs::read_symlink(fd.path(), ignored).string() == node) return true;
    }
    return false;
}

std::string CommandName(const fs::path& process) {
    std::ifstream in(process / "comm");
    std::string name;
    std::getline(in, name);
    return name;
}

}  // namespace

DeviceOpeners FindDeviceOpeners(const std::string& node, const std::string& procRoot) {
    DeviceOpeners openers;
    const std::string self = std::to_string(::getpid());
    std::error_code error;
    for (const auto& process : fs::directory_iterator(procRoot, error)) {
        const std::string pid = process.path().filename().string();
        if (!IsProcessId(pid) || pid == self) continue;
        if (HoldsOpen(process.path() / "fd", node, &openers.incomplete)) {
            openers.processes.push_back(pid + " (" + CommandName(process.path()) + ")");
        }
    }
    if (error) openers.incomplete = true;
    std::sort(openers.processes.begin(), openers.processes.end(), [](const std::string& a, const std::string& b) {
        return std::stol(a) < std::stol(b);
    });
    return openers;
}

}  // namespace lumora
