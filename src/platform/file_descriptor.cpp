#include "platform/file_descriptor.h"

#include <unistd.h>

namespace lumora {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Reset();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool FileDescriptor::Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) == 0;
}

void FileDescriptor::Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace lumora
