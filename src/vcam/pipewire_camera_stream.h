// PipeWireCameraStream: one connection of the PipeWire camera to the daemon: the core,
// the output stream that is the "Lumora Capture" Video/Source node (node.name
// "lumora-capture", media.role Camera, driving its own graph), and the registry watch that
// counts the consumers linked to it. A daemon that goes away ends the connection for good:
// the owner is told (Events::lost) and makes a new one.
//
// Ownership: owned by PipeWireCamera; the core, stream and registry proxy live as long as
// the object. Threads: made, used and destroyed on the thread of the context's loop (with a
// thread loop: inside it, or under its lock). Every event is called on that thread.
#pragma once

#include "vcam/pipewire_link_counter.h"
#include "vcam/pipewire_video_format.h"
#include "vcam/vcam_config.h"

#include <pipewire/pipewire.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lumora {

inline constexpr char kPipeWireNodeName[] = "lumora-capture";

class PipeWireCameraStream {
public:
    struct Events {
        // A consumer agreed to a format; fill asks for frames of it from now on.
        std::function<void(const PipeWireVideoFormat&)> formatAgreed;
        // Writes one frame into the buffer (room for `capacity` bytes); the bytes written,
        // 0 when there is no frame of the agreed format.
        std::function<std::size_t(std::uint8_t* target, std::size_t capacity)> fill;
        // The daemon went away or refused the stream.
        std::function<void(const std::string& why)> lost;
        // Consumers came or went.
        std::function<void()> consumersChanged;
    };

    // Connects and publishes the node. Null, with the reason in `error`, when the daemon
    // cannot be reached or refuses the stream.
    static std::unique_ptr<PipeWireCameraStream> Connect(pw_context* context, const VcamConfig& config,
                                                         Events events, std::string* error);
    ~PipeWireCameraStream();
    PipeWireCameraStream(const PipeWireCameraStream&) = delete;
    PipeWireCameraStream& operator=(const PipeWireCameraStream&) = delete;

    // The node is in the daemon's graph (consumers can find it).
    bool Published() const;
    // A consumer is linked and the format agreed: frames flow on Trigger.
    bool Streaming() const;
    std::optional<PipeWireVideoFormat> AgreedFormat() const { return agreed_; }
    int Consumers() const;

    // Starts one cycle of the node's graph: fill is asked for a frame. False when no frame
    // can go out now (nobody is linked, or the daemon is gone).
    bool Trigger();

private:
    PipeWireCameraStream(const VcamConfig& config, Events events);
    bool Start(pw_context* context, std::string* error);
    bool Publish(std::string* error);
    void AnnounceFormat(const PipeWireVideoFormat& format);

    static void OnCoreError(void* self, std::uint32_t id, int seq, int res, const char* message);
    static void OnStateChanged(void* self, pw_stream_state old, pw_stream_state state, const char* error);
    static void OnParamChanged(void* self, std::uint32_t id, const spa_pod* param);
    static void OnProcess(void* self);

    const VcamConfig config_;
    Events events_;
    pw_core* core_ = nullptr;
    pw_stream* stream_ = nullptr;
    spa_hook coreListener_{};
    spa_hook streamListener_{};
    PipeWireLinkCounter links_;
    pw_stream_state state_ = PW_STREAM_STATE_UNCONNECTED;
    std::optional<PipeWireVideoFormat> agreed_;
    bool lost_ = false;
};

}  // namespace lumora
