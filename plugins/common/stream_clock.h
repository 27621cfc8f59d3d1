// StreamClock: how long an animation has been running, in seconds of stream time.
//
// The first frame after construction or Forget sets the origin, and so does a frame whose
// time lies before it (the stream restarted or jumped back), so an animation always starts
// afresh and never runs backwards. Within one origin the answer depends only on the
// frame's time, never on how many frames came before, so animations built on it run at
// the same speed at any frame rate and show the same picture for the same time.
//
// Not synchronised: its owner calls it under its own lock.
#pragma once

namespace lumora::plugins {

class StreamClock {
public:
    // Seconds since the origin for a frame at stream time `time` (0 for a time that is
    // not a finite number).
    double Elapsed(double time) noexcept;
    void Forget() noexcept { started_ = false; }

private:
    bool started_ = false;
    double origin_ = 0;
};

}  // namespace lumora::plugins
