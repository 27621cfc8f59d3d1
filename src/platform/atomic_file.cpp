#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lumora {

namespace {

// Owns one file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (a failed close can mean lost data).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool IsPassingShortage(int error) {
    return error == EMFILE || error == ENFILE || error == ENOMEM || error == EINTR ||
           error == EAGAIN;
}

AtomicFile::ReadStatus StatusForError(int error) {
    if (error == ENOENT || error == ENOTDIR) return AtomicFile::ReadStatus::kMissing;
    if (IsPassingShortage(error)) return AtomicFile::ReadStatus::kBusy;
    return AtomicFile::ReadStatus::kUnreadable;
}

bool ReadAll(int fd, std::string& out) {
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(chunk, static_cast<std::size_t>(got));
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// A name no other writer (thread or process) picks at the same time; O_EXCL settles the
// rare collision with a leftover.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& file) {
    static std::atomic<unsigned long> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string unique = std::to_string(::getpid()) + "-" + std::to_string(++counter) +
                               "-" + std::to_string(ticks % 1000000007);
    return FolderOf(file) / ("." + file.filename().string() + "." + unique + ".tmp");
}

struct TemporaryFile {
    std::filesystem::path path;
    int fd = -1;
};

std::optional<TemporaryFile> CreateTemporaryFor(const std::filesystem::path& file) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        TemporaryFile temp{TemporaryNameFor(file), -1};
        temp.fd = ::open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temp.fd >= 0) return temp;
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

void KeepPermissionsOf(const std::filesystem::path& file, int fd) {
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);
}

// A symbolic link is kept and the file it points to replaced, as an editor would; a
// dangling link is replaced itself.
std::filesystem::path FollowLink(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, error))) return file;
    std::filesystem::path target = std::filesystem::canonical(file, error);
    return error ? file : target;
}

// Makes the rename itself durable. A failure here leaves the new file in place, so it is
// not reported.
void SyncFolder(const std::filesystem::path& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) ::fsync(dir.get());
}

}  // namespace

AtomicFile::ReadResult AtomicFile::Read(const std::filesystem::path& file) {
    ReadResult result;
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        result.status = StatusForError(errno);
        return result;
    }
    if (!ReadAll(fd.get(), result.bytes)) {
        result.status = IsPassingShortage(errno) ? ReadStatus::kBusy : ReadStatus::kUnreadable;
        result.bytes.clear();
        return result;
    }
    result.status = ReadStatus::kOk;
    return result;
}

bool AtomicFile::Replace(const std::filesystem::path& link, std::string_view contents) {
    const std::filesystem::path file = FollowLink(link);
    const std::optional<TemporaryFile> temp = CreateTemporaryFor(file);
    if (!temp) return false;
    Descriptor fd(temp->fd);
    KeepPermissionsOf(file, fd.get());
    const bool written = WriteAll(fd.get(), contents) && ::fsync(fd.get()) == 0;
    if (!fd.Close() || !written || ::rename(temp->path.c_str(), file.c_str()) != 0) {
        ::unlink(temp->path.c_str());
        return false;
    }
    SyncFolder(FolderOf(file));
    return true;
}

}  // namespace lumora
