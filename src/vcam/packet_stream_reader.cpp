#include "vcam/packet_stream_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lumora {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;
constexpr std::size_t kMagicSize = sizeof FramePacket::kMagic;

}  // namespace

PacketStreamReader::PacketStreamReader(int fd) : fd_(fd) {}

void PacketStreamReader::Consume(std::size_t count) {
    start_ += count;
    offset_ += count;
}

bool PacketStreamReader::Fill(std::size_t count) {
    if (Available() >= count) return true;
    // Move what is left to the front, then read until there is enough.
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
    while (buffer_.size() < count) {
        const std::size_t old = buffer_.size();
        // Grow with what arrives, not with what a header claims: a damaged header must not
        // cost gigabytes before its bytes turn out to be missing.
        buffer_.resize(old + std::max(kReadChunk, std::min(old, count - old)));
        const ssize_t got = ::read(fd_, buffer_.data() + old, buffer_.size() - old);
        buffer_.resize(old + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got > 0) continue;
        if (got == 0) {
            status_ = Status::kEnd;
        } else if (errno == EINTR) {
            status_ = Status::kInterrupted;
        } else {
            status_ = Status::kReadError;
            readError_ = std::strerror(errno);
        }
        return false;
    }
    return true;
}

std::uint64_t PacketStreamReader::SkipToNextMagic() {
    std::uint64_t skipped = 1;  // the magic of the bad packet itself
    Consume(1);
    for (;;) {
        const std::uint8_t* begin = Current();
        const std::uint8_t* end = begin + Available();
        const std::uint8_t* found = std::search(begin, end, FramePacket::kMagic, FramePacket::kMagic + kMagicSize);
        if (found != end) {
            const auto distance = static_cast<std::size_t>(found - begin);
            Consume(distance);
            return skipped + distance;
        }
        // Keep a possible partial magic at the end, then read on.
        const std::size_t keep = std::min(Available(), kMagicSize - 1);
        const std::size_t drop = Available() - keep;
        Consume(drop);
        skipped += drop;
        if (!Fill(Available() + 1)) {
            if (status_ == Status::kEnd) {
                skipped += Available();
                Consume(Available());
            }
            return skipped;
        }
    }
}

PacketStreamReader::Item PacketStreamReader::Next() {
    Item item;
    item.offset = offset_;
    if (!Fill(FramePacket::kHeaderSize)) {
        if (status_ == Status::kEnd && Available() > 0) {
            item.status = Status::kBadData;
            item.error = "the stream ends inside a packet header";
            item.skipped = Available();
            Consume(Available());
            return item;
        }
        item.status = status_;
        item.error = readError_;
        return item;
    }
    const auto header = FramePacket::ParseHeader(Current(), Available(), &item.error);
    if (!header) {
        item.status = Status::kBadData;
        item.skipped = SkipToNextMagic();
        return item;
    }
    const std::size_t whole = FramePacket::kHeaderSize + header->payloadSize;
    if (!Fill(whole)) {
        if (status_ != Status::kEnd) {
            item.status = status_;
            item.error = readError_;
            return item;
        }
        item.status = Status::kBadData;
        item.error = "the stream ends inside the packet's pixels";
        item.skipped = Available();
        Consume(Available());
        return item;
    }
    item.status = Status::kPacket;
    item.header = *header;
    item.pixels = Current() + FramePacket::kHeaderSize;
    Consume(whole);  // the bytes stay in the buffer until the next Fill
    return item;
}

}  // namespace lumora
