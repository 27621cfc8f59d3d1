// GraphEvents: the bus of one source pipeline, as the source graph reads it.
//
// A synchronous handler sees every message where it is posted. End of stream and errors
// are kept on the bus and, while a notification target is set, announced to it with a
// posted MSG_GRAPH_EVENT (the target then calls SourceGraph::PollCompletion). The messages
// the graph waits for while it builds (asynchronous state changes done, our own
// application messages) are kept too; a decoder's report of a missing plug-in is noted
// (MissingPlugins); everything else (state changes, tags, QoS, the warning of an audio
// output that fell back to a fake one, ...) is dropped at once, so the bus never grows
// while nobody reads it.
//
// Threads: constructed, read and destroyed on the user-interface thread; the handler runs
// on whichever thread posts. The pipeline must be in NULL before destruction, so that no
// thread is posting any more. Lifetime: borrows the pipeline (holds its bus); the target
// must outlive the notifications (SetNotifyTarget(nullptr) or destruction ends them).
#pragma once

#include <QObject>

#include <gst/gst.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace lumora {

class GraphEvents {
public:
    explicit GraphEvents(GstElement* pipeline);
    ~GraphEvents();
    GraphEvents(const GraphEvents&) = delete;
    GraphEvents& operator=(const GraphEvents&) = delete;

    // Null cancels the notifications.
    void SetNotifyTarget(QObject* target) { target_.store(target); }
    bool Notifying() const { return target_.load() != nullptr; }

    struct Outcome {
        GstMessageType type = GST_MESSAGE_UNKNOWN;  // UNKNOWN: timed out
        std::string name;                           // an application message's structure name
        std::string errorText;                      // an error's message text
    };

    // Waits up to `timeout` for a message of one of `types`; messages of other types that
    // are pending are taken and dropped on the way.
    Outcome WaitFor(GstMessageType types, GstClockTime timeout);

    // Takes the pending messages without waiting: true as soon as an end of stream is taken.
    // An error among them is remembered (StreamError).
    bool PollCompletion();

    // The text of the last error taken by PollCompletion, or "".
    const std::string& StreamError() const { return streamError_; }

    // GStreamer's descriptions of the plug-ins the pipeline asked for and did not find
    // ("H.265 (Main Profile) decoder"), in the order asked, each once; empty when none.
    std::vector<std::string> MissingPlugins() const;

    // Posts an application message named `name` from `source` (any thread).
    static void PostApplicationMessage(GstElement* source, const char* name);

private:
    static GstBusSyncReply OnMessage(GstBus* bus, GstMessage* message, gpointer self);
    void NoteMissingPlugin(GstMessage* message);

    GstBus* bus_;
    std::atomic<QObject*> target_{nullptr};
    std::string streamError_;
    mutable std::mutex missingMutex_;  // the handler adds on streaming threads
    std::vector<std::string> missing_;
};

}  // namespace lumora
