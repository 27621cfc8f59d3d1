#include "cli/frame_gate.h"

namespace lumora::cli {

void FrameGate::Pass() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kLongestWait, [this] { return !frameOut_ || open_; });
    frameOut_ = true;
}

void FrameGate::Taken() {
    {
        std::lock_guard lock(mutex_);
        frameOut_ = false;
    }
    changed_.notify_all();
}

void FrameGate::Open() {
    {
        std::lock_guard lock(mutex_);
        open_ = true;
    }
    changed_.notify_all();
}

}  // namespace lumora::cli
