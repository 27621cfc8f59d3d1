#include "frames/recorded_bytes_counter.h"

namespace lumora {

bool RecordedBytesCounter::TryAdd(std::uint64_t bytes) {
    std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) return false;
    bytes_ += bytes;
    return true;
}

std::uint64_t RecordedBytesCounter::Read() {
    std::lock_guard<std::mutex> lock(mutex_);
    return bytes_;
}

void RecordedBytesCounter::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    bytes_ = 0;
}

}  // namespace lumora
