// RecordingWatch: catches the errors the recording's file writer posts on a pipeline's bus
// — a full disk, /dev/full, a folder it may not write to — with the system's reason,
// which the source graph's own messages do not carry.
//
// Watch every new pipeline before anything is built into it (SourceGraph's pipeline
// observer). Threads: errors arrive on whichever thread posts them; Failure may be read on
// any thread. Lifetime: must outlive every pipeline it watches (it is the data of their
// buses' signal handler).
#pragma once

#include <gst/gst.h>

#include <mutex>
#include <string>

namespace lumora::cli {

class RecordingWatch {
public:
    void Watch(GstElement* pipeline);

    // The system's reason for the file writer's first failure ("No space left on device"),
    // or "" while it has none.
    std::string Failure() const;

    // The reason in an error the file writer posted: the system's text where GStreamer
    // kept it, else GStreamer's own message.
    static std::string Reason(const GError* error, const char* debug);

private:
    static void OnError(GstBus* bus, GstMessage* message, gpointer self);

    mutable std::mutex mutex_;
    std::string failure_;
};

}  // namespace lumora::cli
