// FrameGate: holds a batch run's source back until the previous frame has gone out, so
// that every frame of a file or pattern run as fast as the machine allows reaches the
// output exactly once (in real time the source keeps its own pace and no gate is used).
//
// Threads: Pass on the streaming thread, before a frame is handed off; Taken and Open on
// the user-interface thread. Lifetime: must outlive the graph's use of it; Open it before
// the graph is torn down, so that a waiting streaming thread returns and can be joined.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lumora::cli {

class FrameGate {
public:
    // A frame that never produced a hand-off (refused by the hand-off) would hold the gate
    // shut; after this long the next frame passes anyway.
    static constexpr std::chrono::milliseconds kLongestWait{1000};

    // Waits until the frame before was taken or the gate is open, then lets one frame by.
    void Pass();
    // The frame let by has been taken.
    void Taken();
    // Lets every frame by from now on.
    void Open();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool frameOut_ = false;
    bool open_ = false;
};

}  // namespace lumora::cli
