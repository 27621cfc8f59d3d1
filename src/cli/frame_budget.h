// FrameBudget: which frames of a run enter the grabber — at most `limit` of them (--frames)
// and none once the run is stopping — decided by a pad probe on the grabber's input. A
// frame kept out reaches neither the frame hand-off (the output) nor the recording, so the
// two hold the same frames however far the source has run ahead.
//
// Attach it to every new grabber before any frame flows (SourceGraph's pipeline observer).
// Threads: the probe runs on the streaming thread; Attach and Close on the user-interface
// thread; Spent on any. Lifetime: must outlive every pipeline it is attached to.
#pragma once

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <optional>

namespace lumora::cli {

class FrameBudget {
public:
    explicit FrameBudget(std::optional<long> limit);

    void Attach(GstElement* grabber);
    // No frame enters from now on.
    void Close() { closed_.store(true); }

    // The limit has been reached: no frame will enter any more.
    bool Spent() const;
    // Frames let in so far.
    std::uint64_t Passed() const { return passed_.load(); }

private:
    static GstPadProbeReturn OnData(GstPad* pad, GstPadProbeInfo* info, gpointer self);
    bool Admit(std::uint64_t frames);

    std::optional<std::uint64_t> limit_;
    std::atomic<std::uint64_t> passed_{0};
    std::atomic<bool> closed_{false};
};

}  // namespace lumora::cli
