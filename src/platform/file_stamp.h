// What tells one state of a file from another without reading it: the file's identity
// (device and inode) and its size, modification and status-change times in nanoseconds.
//
// A write through a new file renamed into place changes the identity; a write in place
// changes the times, and a tool that sets the modification time back still changes the
// status-change time. Two states look the same only when the file was rewritten in place
// to the same size within one tick of the file system's clock (a few milliseconds at
// most). An identity can come back once its file is deleted; whoever relies on a stamp
// over time keeps the file open (see SettingsCache). A plain value; safe from any thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

struct stat;

namespace lumora {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    static FileStamp From(const struct stat& info);
    // The stamp of an open file, or nothing when fstat fails.
    static std::optional<FileStamp> Of(int fd);
    // The stamp of the file a path names (links followed); nothing when stat fails, with
    // errno telling why.
    static std::optional<FileStamp> Of(const std::filesystem::path& file);

    bool SameFileAs(const FileStamp& other) const { return device == other.device && inode == other.inode; }
    bool operator==(const FileStamp&) const = default;
};

}  // namespace lumora
