#include "platform/program_paths.h"

#include <unistd.h>

#include <climits>

namespace lumora {

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "./";
    std::string folder(path, static_cast<std::size_t>(length));
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return "./";
    folder.resize(slash + 1);
    return folder;
}

}  // namespace lumora
