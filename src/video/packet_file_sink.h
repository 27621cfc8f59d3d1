// A packet sink over a path that is not a V4L2 device: a regular file receives each packet
// in one write(); a FIFO receives it whole or not at all when its reader is too slow.
//
// A FIFO is opened for reading and writing, so opening never waits for a reader and a
// missing reader never raises SIGPIPE. Writes never block the user interface for long:
// a packet that the pipe cannot start to take within a frame's time is dropped whole.
// Lifetime: owns the file descriptor; closes it on destruction.
#pragma once

#include "video/packet_sink.h"

#include <memory>
#include <string>

namespace lumora {

class PacketFileSink final : public PacketSink {
public:
    // Opens an existing path; nothing when it does not exist or cannot be opened.
    static std::unique_ptr<PacketFileSink> Open(const std::string& path);
    ~PacketFileSink() override;

    bool Write(const unsigned char* packet, std::size_t size) override;

    bool IsFifo() const { return fifo_; }

private:
    PacketFileSink(int fd, bool fifo) : fd_(fd), fifo_(fifo) {}
    bool WriteToFifo(const unsigned char* packet, std::size_t size);

    int fd_;
    bool fifo_;
};

}  // namespace lumora
