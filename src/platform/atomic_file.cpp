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
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) ::fsync(dir.get());
}

// Opens a regular file for reading, with its stamp. O_NONBLOCK keeps a FIFO at the path
// from blocking the open; it changes nothing for a regular file.
AtomicFile::ReadStatus OpenForReading(const std::filesystem::path& file, AtomicFile::OpenedFile& opened) {
    opened.descriptor = FileDescriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!opened.descriptor.valid()) return StatusForError(errno);
    struct stat info {};
    if (::fstat(opened.descriptor.get(), &info) != 0) return StatusForError(errno);
    if (!S_ISREG(info.st_mode)) return AtomicFile::ReadStatus::kUnreadable;
    opened.stamp = FileStamp::From(info);
    return AtomicFile::ReadStatus::kOk;
}

// The file now at `file`, when it is still the one written as `written`.
std::optional<AtomicFile::OpenedFile> Reopen(const std::filesystem::path& file, const FileStamp& written) {
    AtomicFile::OpenedFile opened;
    if (OpenForReading(file, opened) != AtomicFile::ReadStatus::kOk || !opened.stamp.SameFileAs(written)) {
        return std::nullopt;
    }
    return opened;
}

}  // namespace

AtomicFile::ReadResult AtomicFile::Read(const std::filesystem::path& file) {
    ReadResult result;
    result.status = OpenForReading(file, result.file);
    if (result.status != ReadStatus::kOk) {
        result.file = {};
        return result;
    }
    if (!ReadAll(result.file.descriptor.get(), result.bytes)) {
        result.status = IsPassingShortage(errno) ? ReadStatus::kBusy : ReadStatus::kUnreadable;
        result.bytes.clear();
        result.file = {};
    }
    return result;
}

bool AtomicFile::Replace(const std::filesystem::path& link, std::string_view contents,
                         std::optional<OpenedFile>* reopened) {
    const std::filesystem::path file = FollowLink(link);
    const std::optional<TemporaryFile> temp = CreateTemporaryFor(file);
    if (!temp) return false;
    FileDescriptor fd(temp->fd);
    KeepPermissionsOf(file, fd.get());
    const bool written = WriteAll(fd.get(), contents) && ::fsync(fd.get()) == 0;
    const std::optional<FileStamp> stamp = FileStamp::Of(fd.get());
    if (!fd.Close() || !written || ::rename(temp->path.c_str(), file.c_str()) != 0) {
        ::unlink(temp->path.c_str());
        return false;
    }
    SyncFolder(FolderOf(file));
    if (reopened) *reopened = stamp ? Reopen(file, *stamp) : std::nullopt;
    return true;
}

}  // namespace lumora
