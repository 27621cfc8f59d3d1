#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>
#include <cstdlib>
#include <vector>

namespace lumora {
namespace {

std::filesystem::path AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        *found->pw_dir) {
        return found->pw_dir;
    }
    return {};
}

std::filesystem::path ConfigHome() {
    if (auto config = AbsoluteVariable("XDG_CONFIG_HOME"); !config.empty()) return config;
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / ".config";
}

std::filesystem::path DataHome() {
    if (auto data = AbsoluteVariable("XDG_DATA_HOME"); !data.empty()) return data;
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / ".local" / "share";
}

std::filesystem::path RuntimeFolder() { return AbsoluteVariable("XDG_RUNTIME_DIR"); }

}  // namespace lumora
