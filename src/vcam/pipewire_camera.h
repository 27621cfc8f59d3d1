// PipeWireCamera: Lumora's virtual camera without a kernel module. It publishes "Lumora
// Capture" as a PipeWire Video/Source node and feeds it the frames of the FramePackets the
// program writes, as the loopback adapter feeds its device: the configured size and rate
// (VcamConfig; the configured pixel format is offered first, then the other layouts of
// PipeWireVideoFormat), one frame per packet, the last frame repeated at the configured
// rate while packets stop, black before the first one.
//
// WritePacket only checks the packet and copies its pixels into a hand-off slot; a thread
// of the camera's own (a PipeWire thread loop, started by Open, stopped by Close) converts
// the frame and hands it to the consumers. So a write never waits for the daemon, a
// consumer or a conversion: a frame that comes before the thread took the last one
// replaces it (counted as replaced). When the daemon goes away, that thread reconnects
// with a doubling back-off (capped at half a second) and publishes the node again; writes go
// on meanwhile.
//
// Ownership: owns the thread loop, the connection and the frames. Threads: WritePacket,
// IsOpen, Consumers and Status from any thread; Open and Close on the owning thread.
// The camera can be opened again after Close.
#pragma once

#include "vcam/pipewire_video_format.h"
#include "vcam/reconnect_backoff.h"
#include "vcam/vcam_config.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct pw_context;
struct pw_thread_loop;
struct spa_source;

namespace lumora {

class PipeWireCameraStream;
class PipeWireFramePacker;

struct PipeWireCameraStatus {
    bool open = false;
    bool published = false;                     // the node is in the daemon's graph
    std::optional<PipeWireVideoFormat> format;  // agreed with the consumers; nothing before
    int consumers = 0;
    std::uint64_t packets = 0;      // packets taken
    std::uint64_t replaced = 0;     // packets replaced by a newer one before they went out
    std::uint64_t badPackets = 0;   // dropped: failed the packet check
    std::uint64_t framesSent = 0;   // buffers handed to the consumers, repeats included
    std::uint64_t repeats = 0;      // sends of the last frame while none came
    std::uint64_t losses = 0;       // times the daemon went away
    std::uint64_t reconnects = 0;   // successful publications after a loss
    std::string lastError;
};

class PipeWireCamera {
public:
    explicit PipeWireCamera(VcamConfig config = {});
    ~PipeWireCamera();
    PipeWireCamera(const PipeWireCamera&) = delete;
    PipeWireCamera& operator=(const PipeWireCamera&) = delete;

    // Connects to the daemon and publishes the node. False, with the reason in `error`,
    // when no daemon answers or it refuses the node (nothing is left running then).
    bool Open(std::string* error = nullptr);
    // A whole packet: 40-byte header and payload. True when its frame was taken.
    bool WritePacket(const unsigned char* packet, std::size_t size);
    void Close();

    bool IsOpen() const;
    // The consumers linked to the node now.
    int Consumers() const { return consumers_.load(); }
    PipeWireCameraStatus Status() const;

private:
    using Clock = std::chrono::steady_clock;

    bool MakeLoop(std::string* error);
    void DestroyLoop();
    bool ConnectStream(std::string* error);
    void ArmTimer(spa_source* timer, Clock::duration delay);

    // On the camera's thread:
    void TakePendingFrame();
    void ConvertLatest();
    void Send(bool repeat);
    void OnFormatAgreed(const PipeWireVideoFormat& format);
    std::size_t Fill(std::uint8_t* target, std::size_t capacity);
    void OnLost(const std::string& why);
    void Reconnect();
    void RefreshStatus();

    static void OnFrameEvent(void* self, std::uint64_t count);
    static void OnRepeatTimer(void* self, std::uint64_t expirations);
    static void OnReconnectTimer(void* self, std::uint64_t expirations);

    const VcamConfig config_;
    const Clock::duration period_;

    pw_thread_loop* loop_ = nullptr;
    pw_context* context_ = nullptr;
    spa_source* frameEvent_ = nullptr;
    spa_source* repeatTimer_ = nullptr;
    spa_source* reconnectTimer_ = nullptr;

    // The camera's thread only (or the owning thread under the loop lock, while it runs).
    std::unique_ptr<PipeWireCameraStream> stream_;
    std::unique_ptr<PipeWireFramePacker> packer_;
    std::vector<std::uint8_t> latest_;  // the last frame taken, as it came
    int latestWidth_ = 0, latestHeight_ = 0;
    ReconnectBackoff backoff_;

    // The hand-off slot and the status, shared with the writers.
    mutable std::mutex mutex_;
    bool open_ = false;
    std::vector<std::uint8_t> pending_;
    int pendingWidth_ = 0, pendingHeight_ = 0;
    bool hasPending_ = false;
    PipeWireCameraStatus status_;
    std::atomic<int> consumers_{0};
};

}  // namespace lumora
