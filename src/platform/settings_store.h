// The per-user settings file that stands in for the registry under HKEY_LOCAL_MACHINE.
//
// The file (see DefaultFile) holds keys and typed values in the .reg text format of
// RegFileFormat; a file written by hand, with or without the header line, reads the same.
// Every call sees the file as it is at that moment, so a write is seen by the very next
// read, in this process or any other. A file that has not changed since this process last
// read or wrote it is not parsed again: SettingsCache answers after one stat().
//
// Writing: each write is a read-modify-write of the whole file under an exclusive lock
// on "<file>.lock" beside it (FileLock), so writers in other threads and processes never
// lose each other's values. The new contents replace the file atomically (AtomicFile):
// a crash leaves the old or the new file, never a mix. The folder is created by the first
// write.
//
// Trouble, and what becomes of the user's file:
// - A file that cannot be read (no permission, not a regular file, an I/O error) is left
//   alone: reads give defaults and writes fail, so nothing is written over it. Once it
//   can be read again, everything in it is there.
// - A file that was read but is not a settings file (see RegFileFormat::Parse) reads as
//   empty. Under the lock it is renamed aside to "<file>.bad" (or ".bad.1", ".bad.2", ...:
//   an earlier one is never overwritten), one line on stderr names both files, and the
//   next write starts a fresh file. When it cannot be set aside, writes fail.
//
// An object only holds the file name; it is cheap to make one per call. Every function
// may be called from any thread. Functions return false/nothing on failure and throw
// nothing but std::bad_alloc.
#pragma once

#include "platform/reg_document.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace lumora {

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

    // $LUMORA_CONFIG_DIR/lumora.reg when that variable is set, else
    // $XDG_CONFIG_HOME/lumora/lumora.reg, else ~/.config/lumora/lumora.reg. Looked up on
    // every call. Empty when there is no home folder to be found.
    static std::filesystem::path DefaultFile();

    const std::filesystem::path& file() const { return file_; }

    // The whole file; empty when it is missing, unreadable or damaged. Never null; the
    // document is shared and immutable, and stays valid while the caller holds it.
    std::shared_ptr<const RegDocument> Read() const;
    std::optional<RegKeyEntry> ReadKey(std::string_view path) const;
    std::optional<RegValue> ReadValue(std::string_view path, std::string_view name) const;

    // Creates the key and its parents when needed. False for an invalid key path.
    bool WriteValue(std::string_view path, RegValue value) const;
    // True when the value is gone afterwards, including when it never existed.
    bool DeleteValue(std::string_view path, std::string_view name) const;
    // Deletes the key with its values. False when it has sub-keys (it stays then); true
    // when it did not exist.
    bool DeleteKey(std::string_view path) const;

private:
    enum class Edit { kUnchanged, kChanged, kRefused };
    enum class FileState { kRead, kUnreadable, kDamaged };
    struct Loaded {
        FileState state = FileState::kUnreadable;
        std::shared_ptr<const RegDocument> document;  // set with kRead only
    };

    std::filesystem::path LockFile() const;
    // The file as it is now, from the cache when it has not changed. Changes nothing on disk.
    Loaded Load() const;
    // Load, with a damaged file set aside (it reads as empty then). The caller holds the lock.
    Loaded LoadSettingAsideDamage() const;
    // Locked read-modify-write; false when the edit is refused or the file is not written.
    bool Update(const std::function<Edit(RegDocument&)>& edit) const;

    std::filesystem::path file_;
};

}  // namespace lumora
