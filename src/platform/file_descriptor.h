// Owns one open file descriptor and closes it when destroyed. Movable, not copyable.
// Like the descriptor itself it may be handed between threads but not shared.
#pragma once

namespace lumora {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (a failed close can mean lost data).
    bool Close();

private:
    void Reset();

    int fd_ = -1;
};

}  // namespace lumora
