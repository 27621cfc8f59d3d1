// How snapshots are named in their folder: "snapshot007.jpg", numbered from 000 to 999.
// A number is free when neither its .jpg nor an older .bmp file of that number exists, so
// saving never overwrites an earlier snapshot.
//
// Thread: any; reads the folder on every call.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace lumora {

class SnapshotNames {
public:
    static constexpr int kLastNumber = 999;

    // "snapshot%3.3d.jpg" of `number`.
    static std::string FileName(int number);

    // The first free number from `start` up to 999, or none.
    static std::optional<int> FindFree(const std::filesystem::path& folder, int start);
};

}  // namespace lumora
