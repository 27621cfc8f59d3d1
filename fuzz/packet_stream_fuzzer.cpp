// Packet streams from other programs, cut into packets by PacketStreamReader. Whatever the
// bytes:
//   - the items tile the stream: each starts where the one before ended, and the end comes
//     at the stream's last byte;
//   - every packet is a valid packet at its offset, and its pixels are the stream's bytes;
//   - bad data is a truncated packet at the end, or a bad header followed by bytes up to the
//     next magic, and no whole valid packet starts inside it;
//   - reading the stream through a pipe in small pieces gives the same items as reading it
//     in one go;
//   - no allocation is far larger than the stream, whatever size a header claims.
// Covers: packet_stream_reader.cpp frame_packet.cpp

#include "allocation_limit.h"
#include "fuzz_check.h"
#include "vcam/packet_stream_reader.h"

#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <thread>
#include <vector>

using lumora::FramePacket;
using lumora::PacketStreamReader;
using Status = PacketStreamReader::Status;

namespace {

struct Seen {
    Status status;
    std::uint64_t offset;
    std::uint64_t length;  // bytes the item covers
    std::uint32_t payloadSize;

    bool operator==(const Seen&) const = default;
};

bool StartsWholePacket(const std::uint8_t* data, std::size_t size, std::size_t at) {
    const auto header = FramePacket::ParseHeader(data + at, size - at);
    return header && size - at >= FramePacket::kHeaderSize + std::size_t{header->payloadSize};
}

void CheckPacket(const PacketStreamReader::Item& item, const std::uint8_t* data, std::size_t size) {
    const std::size_t whole = FramePacket::kHeaderSize + std::size_t{item.header.payloadSize};
    FUZZ_CHECK(item.offset <= size && size - item.offset >= whole, "a packet lies inside the stream");
    const auto parsed = FramePacket::Parse(data + item.offset, whole);
    FUZZ_CHECK(parsed && parsed->width == item.header.width && parsed->height == item.header.height,
               "a packet is a valid packet at its offset");
    FUZZ_CHECK(item.pixels && std::memcmp(item.pixels, data + item.offset + FramePacket::kHeaderSize,
                                          item.header.payloadSize) == 0,
               "a packet's pixels are the stream's bytes");
}

void CheckBadData(const PacketStreamReader::Item& item, const std::uint8_t* data, std::size_t size) {
    FUZZ_CHECK(item.skipped > 0 && item.offset < size && item.skipped <= size - item.offset,
               "bad data covers bytes of the stream");
    FUZZ_CHECK(!item.error.empty(), "bad data says what was wrong");
    const std::size_t at = item.offset;
    const std::size_t end = at + item.skipped;
    if (size - at < FramePacket::kHeaderSize || FramePacket::ParseHeader(data + at, size - at)) {
        FUZZ_CHECK(end == size && !StartsWholePacket(data, size, at), "only the end of the stream is truncated");
        return;
    }
    FUZZ_CHECK(end == size || std::memcmp(data + end, FramePacket::kMagic, sizeof FramePacket::kMagic) == 0,
               "skipping stops at the next magic");
    for (std::size_t p = at + 1; p < end; ++p) {
        FUZZ_CHECK(!StartsWholePacket(data, size, p), "no whole packet is skipped");
    }
}

std::vector<Seen> ReadAll(int fd, const std::uint8_t* data, std::size_t size) {
    PacketStreamReader reader(fd);
    std::vector<Seen> items;
    std::uint64_t expected = 0;
    for (;;) {
        const PacketStreamReader::Item item = reader.Next();
        FUZZ_CHECK(item.offset == expected, "each item starts where the one before ended");
        std::uint64_t length = 0;
        if (item.status == Status::kPacket) {
            CheckPacket(item, data, size);
            length = FramePacket::kHeaderSize + item.header.payloadSize;
        } else if (item.status == Status::kBadData) {
            CheckBadData(item, data, size);
            length = item.skipped;
        } else {
            FUZZ_CHECK(item.status == Status::kEnd, "reading memory or a pipe does not fail");
            FUZZ_CHECK(item.offset == size, "the end comes at the end of the stream");
        }
        items.push_back({item.status, item.offset, length, item.header.payloadSize});
        if (item.status == Status::kEnd) break;
        expected += length;
    }
    FUZZ_CHECK(reader.Next().status == Status::kEnd, "the end stays the end");
    return items;
}

int MemoryFile(const std::uint8_t* data, std::size_t size) {
    const int fd = ::memfd_create("packets", MFD_CLOEXEC);
    FUZZ_CHECK(fd >= 0, "a memory file can be made");
    FUZZ_CHECK(::write(fd, data, size) == static_cast<ssize_t>(size), "the memory file takes the stream");
    FUZZ_CHECK(::lseek(fd, 0, SEEK_SET) == 0, "the memory file rewinds");
    return fd;
}

// The pipe's two ends work on threads that take no signal: libFuzzer's timer would
// interrupt their reads and writes, and an interrupted read is the caller's to handle.
void BlockSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGALRM, SIGINT, SIGTERM, SIGUSR1, SIGUSR2, SIGCHLD, SIGPIPE}) sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

// Writes the stream into `fd` in pieces of awkward sizes, then closes it.
void WriteInPieces(int fd, const std::uint8_t* data, std::size_t size) {
    BlockSignals();
    static constexpr std::size_t kPieces[] = {1, 3, 39, 40, 41, 4093};
    std::size_t done = 0;
    for (std::size_t i = 0; done < size; ++i) {
        const std::size_t piece = std::min(kPieces[i % std::size(kPieces)], size - done);
        const ssize_t wrote = ::write(fd, data + done, piece);
        if (wrote <= 0) break;  // the reader stopped early; it says why
        done += static_cast<std::size_t>(wrote);
    }
    ::close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    signal(SIGPIPE, SIG_IGN);  // a reader that stops early must not kill the writer
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader reads 64 KiB at a time and may hold twice what it read.
    const AllocationLimit limit(4 * size + (1u << 20));
    const int file = MemoryFile(data, size);
    const std::vector<Seen> inOneGo = ReadAll(file, data, size);
    ::close(file);

    int ends[2];
    FUZZ_CHECK(::pipe(ends) == 0, "a pipe can be made");
    std::thread writer(WriteInPieces, ends[1], data, size);
    std::vector<Seen> inPieces;
    std::thread reader([&] {
        BlockSignals();
        inPieces = ReadAll(ends[0], data, size);
        ::close(ends[0]);
    });
    reader.join();
    writer.join();
    FUZZ_CHECK(inPieces == inOneGo, "the items do not depend on how the stream arrives");
    return 0;
}
