#include "vcam/file_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumora {

FileOutput::FileOutput(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) Fail(errno);
}

FileOutput::~FileOutput() { Close(); }

bool FileOutput::Fail(int error) {
    if (failure_.empty()) failure_ = std::strerror(error);
    return false;
}

bool FileOutput::Write(const void* data, std::size_t size) {
    if (!Ok()) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd_, bytes + done, size - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return Fail(errno);
        if (written == 0) return Fail(ENOSPC);  // a device that takes nothing more
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool FileOutput::Close() {
    if (fd_ >= 0) {
        // Linux closes the descriptor even when close() is interrupted.
        if (::close(fd_) != 0 && errno != EINTR) Fail(errno);
        fd_ = -1;
    }
    return failure_.empty();
}

}  // namespace lumora
