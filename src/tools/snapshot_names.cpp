#include "tools/snapshot_names.h"

#include <cstdio>
#include <system_error>

namespace lumora {
namespace {

std::string Numbered(int number, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "snapshot%3.3d.%s", number, extension);
    return name;
}

bool Exists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

}  // namespace

std::string SnapshotNames::FileName(int number) { return Numbered(number, "jpg"); }

std::optional<int> SnapshotNames::FindFree(const std::filesystem::path& folder, int start) {
    for (int number = start < 0 ? 0 : start; number <= kLastNumber; ++number) {
        if (!Exists(folder / Numbered(number, "bmp")) && !Exists(folder / Numbered(number, "jpg"))) return number;
    }
    return std::nullopt;
}

}  // namespace lumora
