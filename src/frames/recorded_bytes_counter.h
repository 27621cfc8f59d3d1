// Bytes that reached the recording's file writer. The streaming thread adds without ever
// waiting (a busy lock leaves that buffer uncounted); the recording dialog reads and
// resets, waiting for the lock. Thread-safe.
#pragma once

#include <cstdint>
#include <mutex>

namespace lumora {

class RecordedBytesCounter {
public:
    // Streaming side: adds `bytes` unless the lock is busy. Answers whether it counted.
    bool TryAdd(std::uint64_t bytes);

    std::uint64_t Read();
    void Reset();

private:
    std::mutex mutex_;
    std::uint64_t bytes_ = 0;
};

}  // namespace lumora
