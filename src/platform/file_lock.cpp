#include "platform/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lumora {

namespace {

std::mutex& ProcessWideMutex() {
    static std::mutex mutex;
    return mutex;
}

bool WaitForFlock(int fd) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

}  // namespace

FileLock::FileLock(const std::filesystem::path& lockFile) : inProcess_(ProcessWideMutex()) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0 && WaitForFlock(fd)) {
        fd_ = fd;
        return;
    }
    if (fd >= 0) ::close(fd);
    inProcess_.unlock();
}

FileLock::~FileLock() {
    // Closing the descriptor releases the flock.
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace lumora
