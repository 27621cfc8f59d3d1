// Where the virtual camera link sends its packets: a plain file or FIFO that takes the
// packet bytes as they are, or the v4l2loopback adapter that converts them for the
// device. Thread: the user-interface thread writes; implementations need no locking.
#pragma once

#include <cstddef>

namespace lumora {

class PacketSink {
public:
    virtual ~PacketSink() = default;

    // Writes one whole packet (40-byte header and payload). False when it was not written.
    virtual bool Write(const unsigned char* packet, std::size_t size) = 0;
    // The programs taking the frames now; -1 when the sink cannot tell (a file, a FIFO, a
    // loopback device).
    virtual int Consumers() const { return -1; }
};

}  // namespace lumora
