// A packet sink over a path that is not a V4L2 device: a regular file (or a device such as
// /dev/null) receives each packet whole; a FIFO receives it whole or not at all when its
// reader is too slow.
//
// How a FIFO is opened (FifoPeer):
//   kNeverWait      (the program's virtual camera link) for reading and writing, so opening
//                   never waits for a reader and a missing reader never raises SIGPIPE;
//                   what no reader takes is lost with the pipe.
//   kWaitForReader  (lumora-cli's --output) for writing only: Open waits until a reader has
//                   the FIFO open, and a reader that leaves makes the next write fail with
//                   EPIPE. The caller ignores SIGPIPE.
// Writes never block the user interface for long: a packet that the pipe cannot start to
// take within a frame's time is dropped whole — unless the sink was made patient, in which
// case it waits for the reader as long as the caller lets it.
//
// Write failures keep the system's reason (Failure), so a front end can report a full disk
// or a reader that went away instead of counting the frame as delivered; a dropped packet
// is not a failure.
//
// Lifetime: owns the file descriptor; closes it on destruction. One thread.
#pragma once

#include "video/packet_sink.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace lumora {

class PacketFileSink final : public PacketSink {
public:
    enum class FifoPeer { kNeverWait, kWaitForReader };

    // Opens an existing path; nothing when it does not exist or cannot be opened (the
    // system's reason then goes to `failure`, when given).
    static std::unique_ptr<PacketFileSink> Open(const std::string& path, FifoPeer peer = FifoPeer::kNeverWait,
                                                std::string* failure = nullptr);
    ~PacketFileSink() override;

    // False when the packet was not written: dropped (Failure() empty) or failed.
    bool Write(const unsigned char* packet, std::size_t size) override;

    // A FIFO write waits for the reader past a frame's time for as long as `keepWaiting`
    // answers true (asked every kPatienceStep) instead of dropping the packet. Empty: the
    // usual frame's time.
    void SetPatience(std::function<bool()> keepWaiting) { keepWaiting_ = std::move(keepWaiting); }
    static constexpr std::chrono::milliseconds kPatienceStep{100};

    bool IsFifo() const { return fifo_; }
    // The system's text for the last failed write; "" after a write that succeeded or a
    // packet that was only dropped.
    const std::string& Failure() const { return failure_; }

private:
    using Clock = std::chrono::steady_clock;

    PacketFileSink(int fd, bool fifo) : fd_(fd), fifo_(fifo) {}
    bool WriteToFile(const unsigned char* packet, std::size_t size);
    bool WriteToFifo(const unsigned char* packet, std::size_t size);
    bool WaitForRoom(std::size_t size, Clock::time_point deadline);
    bool WaitWritable(Clock::time_point deadline);
    bool MayWaitPast(Clock::time_point* deadline) const;
    bool Fail(int error);

    int fd_;
    bool fifo_;
    std::function<bool()> keepWaiting_;
    std::string failure_;
};

}  // namespace lumora
