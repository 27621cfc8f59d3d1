// PacketStreamReader: cuts a byte stream (a file, or a FIFO Lumora writes to) into
// FramePackets, checking each one with FramePacket. After a bad header it resynchronises
// on the next "DODU" magic and reports how many bytes it skipped.
//
// Reads with read(2) from a descriptor it does not own; a signal interrupting a blocking
// read is reported (kInterrupted) so the caller can decide to stop. The pixels of a packet
// stay valid until the next call. One thread.
#pragma once

#include "frames/frame_packet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

class PacketStreamReader {
public:
    enum class Status { kPacket, kBadData, kEnd, kInterrupted, kReadError };

    struct Item {
        Status status = Status::kEnd;
        std::uint64_t offset = 0;  // where the packet or the bad data starts in the stream
        FramePacketHeader header;  // kPacket
        const std::uint8_t* pixels = nullptr;  // kPacket: header.payloadSize bytes
        std::uint64_t skipped = 0;  // kBadData: bytes passed over to the next magic or the end
        std::string error;          // kBadData, kReadError
    };

    explicit PacketStreamReader(int fd);

    Item Next();

private:
    // Makes `count` bytes from the current position available; false when the stream ended
    // (or failed, see status_) first.
    bool Fill(std::size_t count);
    // Drops bytes up to the next magic after the current position; answers how many.
    std::uint64_t SkipToNextMagic();
    const std::uint8_t* Current() const { return buffer_.data() + start_; }
    std::size_t Available() const { return buffer_.size() - start_; }
    void Consume(std::size_t count);

    int fd_;
    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0;
    std::uint64_t offset_ = 0;  // stream offset of the current position
    Status status_ = Status::kEnd;  // why the last Fill stopped short
    std::string readError_;
};

}  // namespace lumora
