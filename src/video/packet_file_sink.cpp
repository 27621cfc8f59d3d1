#include "video/packet_file_sink.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace lumora {
namespace {

// How long a FIFO may keep us waiting: to start a packet, and to finish one once started
// (a half-written packet would tear the stream, so finishing is worth a longer wait).
constexpr auto kStartTimeout = std::chrono::milliseconds(40);
constexpr auto kFinishTimeout = std::chrono::milliseconds(1000);

// Room for a 1280×720 packet, so a reader that keeps up never sees a partial write.
constexpr int kFifoSize = 4 * 1024 * 1024;

bool WaitWritable(int fd, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd pfd{fd, POLLOUT, 0};
    return poll(&pfd, 1, static_cast<int>(left.count())) == 1 && (pfd.revents & POLLOUT);
}

// Bytes the pipe can take right now, or -1 when that cannot be told.
long FreeSpace(int fd) {
    const int capacity = fcntl(fd, F_GETPIPE_SZ);
    int queued = 0;
    if (capacity < 0 || ioctl(fd, FIONREAD, &queued) != 0) return -1;
    return static_cast<long>(capacity) - queued;
}

// Waits until the pipe has room for `size` bytes at once. False at the deadline, or when
// the pipe could never hold that much (the caller then writes piece by piece).
bool WaitForRoom(int fd, std::size_t size, std::chrono::steady_clock::time_point deadline) {
    if (fcntl(fd, F_GETPIPE_SZ) < static_cast<long>(size)) return false;
    while (FreeSpace(fd) < static_cast<long>(size)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace

std::unique_ptr<PacketFileSink> PacketFileSink::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat info {};
    const bool fifo = fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode);
    if (fifo) {
        // As large as we may: unprivileged processes are held to fs.pipe-max-size (1 MiB
        // by default), which still holds a whole 640×480 packet.
        if (fcntl(fd, F_SETPIPE_SZ, kFifoSize) < 0) fcntl(fd, F_SETPIPE_SZ, 1024 * 1024);
    } else {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return std::unique_ptr<PacketFileSink>(new PacketFileSink(fd, fifo));
}

PacketFileSink::~PacketFileSink() { ::close(fd_); }

bool PacketFileSink::Write(const unsigned char* packet, std::size_t size) {
    if (!packet || size == 0) return false;
    if (fifo_) return WriteToFifo(packet, size);
    const ssize_t written = ::write(fd_, packet, size);
    return written == static_cast<ssize_t>(size);
}

bool PacketFileSink::WriteToFifo(const unsigned char* packet, std::size_t size) {
    const auto start = std::chrono::steady_clock::now();
    // Start a packet only when the pipe can take all of it, so a slow reader costs whole
    // packets and never sees a torn one.
    const bool fits = fcntl(fd_, F_GETPIPE_SZ) >= static_cast<long>(size);
    if (fits && !WaitForRoom(fd_, size, start + kStartTimeout)) return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd_, packet + done, size - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN) return false;
        const auto deadline = start + (done == 0 ? kStartTimeout : kFinishTimeout);
        if (!WaitWritable(fd_, deadline)) return false;
    }
    return true;
}

}  // namespace lumora
