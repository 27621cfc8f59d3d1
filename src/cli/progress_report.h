// ProgressReport: the lines `lumora-cli run` writes to stderr, once a second while it runs
// and once at the end:
//
//   lumora-cli: 150 frames, 30.0 fps, 0 dropped
//   lumora-cli: done: 270 frames in 9.02 s (29.9 fps), 0 dropped
//
// Frames are those that reached the output; dropped are every other frame the source
// produced: skipped before the grabber (by the time stamps of a fixed-rate stream),
// refused by the hand-off, replaced in the store before they were sent, and not taken by
// the output (a FIFO's reader too slow).
// A plain formatter: no clock, no output of its own.
#pragma once

#include <cstdint>
#include <string>

namespace lumora::cli {

class ProgressReport {
public:
    // The line for a tick `seconds` after the previous one, and remembers the count.
    std::string Tick(std::uint64_t frames, std::uint64_t dropped, double seconds);
    // The summary over the whole run of `seconds`.
    static std::string Summary(std::uint64_t frames, std::uint64_t dropped, double seconds);

private:
    std::uint64_t lastFrames_ = 0;
};

}  // namespace lumora::cli
