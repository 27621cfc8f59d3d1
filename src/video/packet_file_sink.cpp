#include "video/packet_file_sink.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace lumora {
namespace {

// How long a FIFO may keep us waiting: to start a packet, and to finish one once started
// (a half-written packet would tear the stream, so finishing is worth a longer wait).
constexpr auto kStartTimeout = std::chrono::milliseconds(40);
constexpr auto kFinishTimeout = std::chrono::milliseconds(1000);
constexpr auto kRoomPoll = std::chrono::milliseconds(2);

// Room for a 1280×720 packet, so a reader that keeps up never sees a partial write.
constexpr int kFifoSize = 4 * 1024 * 1024;

// Bytes the pipe can take right now, or -1 when that cannot be told.
long FreeSpace(int fd) {
    const int capacity = fcntl(fd, F_GETPIPE_SZ);
    int queued = 0;
    if (capacity < 0 || ioctl(fd, FIONREAD, &queued) != 0) return -1;
    return static_cast<long>(capacity) - queued;
}

// A FIFO opened for writing only whose reader has closed it: the next write fails (EPIPE).
bool ReaderGone(int fd) {
    pollfd pfd{fd, POLLOUT, 0};
    return poll(&pfd, 1, 0) == 1 && (pfd.revents & POLLERR) != 0;
}

int OpenFlags(bool fifo, PacketFileSink::FifoPeer peer) {
    if (!fifo) return O_WRONLY | O_CLOEXEC;
    // Reading and writing: opening does not wait for a reader. Writing only: it does.
    return (peer == PacketFileSink::FifoPeer::kNeverWait ? O_RDWR | O_NONBLOCK : O_WRONLY) | O_CLOEXEC;
}

}  // namespace

std::unique_ptr<PacketFileSink> PacketFileSink::Open(const std::string& path, FifoPeer peer, std::string* failure) {
    struct stat info {};
    const bool fifo = ::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    const int fd = ::open(path.c_str(), OpenFlags(fifo, peer));
    if (fd < 0) {
        if (failure != nullptr) *failure = std::strerror(errno);
        return nullptr;
    }
    if (fifo) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        // As large as we may: unprivileged processes are held to fs.pipe-max-size (1 MiB
        // by default), which still holds a whole 640×480 packet.
        if (fcntl(fd, F_SETPIPE_SZ, kFifoSize) < 0) fcntl(fd, F_SETPIPE_SZ, 1024 * 1024);
    }
    return std::unique_ptr<PacketFileSink>(new PacketFileSink(fd, fifo));
}

PacketFileSink::~PacketFileSink() { ::close(fd_); }

bool PacketFileSink::Fail(int error) {
    failure_ = std::strerror(error);
    return false;
}

bool PacketFileSink::Write(const unsigned char* packet, std::size_t size) {
    failure_.clear();
    if (!packet || size == 0) return false;
    return fifo_ ? WriteToFifo(packet, size) : WriteToFile(packet, size);
}

// A regular file that cannot take the whole packet (a full disk) is cut back to the packets
// before it, so that it never ends in a torn one.
bool PacketFileSink::WriteToFile(const unsigned char* packet, std::size_t size) {
    const off_t start = ::lseek(fd_, 0, SEEK_CUR);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd_, packet + done, size - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;  // 0: a device that takes nothing more
            if (done > 0 && start >= 0 && ::ftruncate(fd_, start) == 0) ::lseek(fd_, start, SEEK_SET);
            return Fail(error);
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool PacketFileSink::WriteToFifo(const unsigned char* packet, std::size_t size) {
    const auto start = Clock::now();
    // Start a packet only when the pipe can take all of it, so a slow reader costs whole
    // packets and never sees a torn one.
    const bool fits = fcntl(fd_, F_GETPIPE_SZ) >= static_cast<long>(size);
    if (fits && !WaitForRoom(size, start + kStartTimeout)) return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd_, packet + done, size - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN) return Fail(errno);
        if (!WaitWritable(start + (done == 0 ? kStartTimeout : kFinishTimeout))) return false;
    }
    return true;
}

bool PacketFileSink::MayWaitPast(Clock::time_point* deadline) const {
    if (!keepWaiting_ || !keepWaiting_()) return false;
    *deadline = Clock::now() + kPatienceStep;
    return true;
}

// Waits until the pipe has room for `size` bytes at once, or its reader has gone (the
// write then says so). False at the deadline, or when the pipe could never hold that much
// (the caller then writes piece by piece).
bool PacketFileSink::WaitForRoom(std::size_t size, Clock::time_point deadline) {
    if (fcntl(fd_, F_GETPIPE_SZ) < static_cast<long>(size)) return false;
    while (FreeSpace(fd_) < static_cast<long>(size) && !ReaderGone(fd_)) {
        if (Clock::now() >= deadline && !MayWaitPast(&deadline)) return false;
        std::this_thread::sleep_for(kRoomPoll);
    }
    return true;
}

bool PacketFileSink::WaitWritable(Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            if (!MayWaitPast(&deadline)) return false;
            continue;
        }
        pollfd pfd{fd_, POLLOUT, 0};
        const int ready = poll(&pfd, 1, static_cast<int>(left.count()));
        if (ready == 1) return true;  // writable, or an error the write will report
        if (ready < 0 && errno != EINTR) return false;
    }
}

}  // namespace lumora
