// An exclusive lock held for the lifetime of the object, shared by every thread and
// every process that locks the same lock file.
//
// Across processes it is an flock() on a descriptor of its own (so two objects in one
// process exclude each other too); inside the process a mutex serialises all FileLock
// holders as well, which keeps threads apart even on file systems where flock is only
// emulated per process. Locks must therefore not nest. The lock file is created when
// missing and never removed: removing it would let two processes lock different files.
//
// Construction waits until the lock is free. locked() is false when the lock file could
// not be opened (a read-only folder, for example); nothing is held then.
#pragma once

#include <filesystem>
#include <mutex>

namespace lumora {

class FileLock {
public:
    explicit FileLock(const std::filesystem::path& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return fd_ >= 0; }

private:
    std::unique_lock<std::mutex> inProcess_;
    int fd_ = -1;
};

}  // namespace lumora
