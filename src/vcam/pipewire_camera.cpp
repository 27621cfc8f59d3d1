#include "vcam/pipewire_camera.h"

#include "frames/frame_packet.h"
#include "vcam/pipewire_camera_stream.h"
#include "vcam/pipewire_daemon.h"
#include "vcam/pipewire_frame_packer.h"

#include <pipewire/pipewire.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lumora {
namespace {

constexpr std::chrono::milliseconds kMaxReconnectDelay{500};

PipeWireVideoFormat ConfiguredFormat(const VcamConfig& config) {
    const PipeWireLayout layout =
        config.format.pixelFormat == VcamPixelFormat::kI420 ? PipeWireLayout::kI420 : PipeWireLayout::kYuy2;
    return {config.format.width, config.format.height, layout};
}

}  // namespace

PipeWireCamera::PipeWireCamera(VcamConfig config)
    : config_(config),
      period_(config.FramePeriod()),
      // Reaching for the daemon's socket costs nothing, and consumers wait: try twice a second at least.
      backoff_(config.reconnectFirstDelay, std::min(config.reconnectMaxDelay, kMaxReconnectDelay)) {}

PipeWireCamera::~PipeWireCamera() { Close(); }

bool PipeWireCamera::Open(std::string* error) {
    std::string why;
    if (IsOpen()) {
        why = "the PipeWire camera is already open";
    } else if (!config_.format.IsValid() || config_.format.height % 2 != 0) {
        why = "unusable output size for the PipeWire camera";
    } else if (MakeLoop(&why)) {
        {
            std::lock_guard lock(mutex_);
            status_ = PipeWireCameraStatus{};
        }
        pw_thread_loop_lock(loop_);
        packer_ = std::make_unique<PipeWireFramePacker>(ConfiguredFormat(config_));
        const bool connected = ConnectStream(&why);
        pw_thread_loop_unlock(loop_);
        if (connected) {
            std::lock_guard lock(mutex_);
            open_ = true;
            status_.open = true;
            return true;
        }
        DestroyLoop();
    }
    if (error) *error = why;
    std::lock_guard lock(mutex_);
    status_.lastError = why;
    return false;
}

bool PipeWireCamera::MakeLoop(std::string* error) {
    InitPipeWireLibrary();
    loop_ = pw_thread_loop_new("lumora-pipewire", nullptr);
    context_ = loop_ ? pw_context_new(pw_thread_loop_get_loop(loop_), nullptr, 0) : nullptr;
    if (context_ == nullptr) {
        *error = std::string("cannot start the PipeWire client: ") + std::strerror(errno);
        DestroyLoop();
        return false;
    }
    pw_loop* loop = pw_thread_loop_get_loop(loop_);
    frameEvent_ = pw_loop_add_event(loop, &PipeWireCamera::OnFrameEvent, this);
    repeatTimer_ = pw_loop_add_timer(loop, &PipeWireCamera::OnRepeatTimer, this);
    reconnectTimer_ = pw_loop_add_timer(loop, &PipeWireCamera::OnReconnectTimer, this);
    if (pw_thread_loop_start(loop_) < 0) {
        *error = "cannot start the PipeWire thread";
        DestroyLoop();
        return false;
    }
    return true;
}

// Stops the camera's thread and frees everything it used. Safe on a half-made loop.
void PipeWireCamera::DestroyLoop() {
    if (loop_ == nullptr) return;
    pw_thread_loop_lock(loop_);
    stream_.reset();
    pw_loop* loop = pw_thread_loop_get_loop(loop_);
    for (spa_source** source : {&frameEvent_, &repeatTimer_, &reconnectTimer_}) {
        if (*source != nullptr) pw_loop_destroy_source(loop, *source);
        *source = nullptr;
    }
    pw_thread_loop_unlock(loop_);
    pw_thread_loop_stop(loop_);
    if (context_ != nullptr) pw_context_destroy(context_);
    context_ = nullptr;
    pw_thread_loop_destroy(loop_);
    loop_ = nullptr;
    packer_.reset();
}

void PipeWireCamera::Close() {
    {
        std::lock_guard lock(mutex_);
        if (!open_) return;
        open_ = false;  // from here no writer signals the loop
        hasPending_ = false;
    }
    DestroyLoop();
    consumers_ = 0;
    std::lock_guard lock(mutex_);
    status_.open = false;
    status_.published = false;
    status_.consumers = 0;
}

bool PipeWireCamera::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

PipeWireCameraStatus PipeWireCamera::Status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

bool PipeWireCamera::WritePacket(const unsigned char* packet, std::size_t size) {
    std::string why;
    const auto header = FramePacket::Parse(packet, size, &why);
    std::lock_guard lock(mutex_);
    if (!header) {
        ++status_.badPackets;
        status_.lastError = "packet dropped: " + why;
        return false;
    }
    if (!open_) return false;
    const unsigned char* pixels = packet + FramePacket::kHeaderSize;
    pending_.assign(pixels, pixels + header->payloadSize);
    pendingWidth_ = header->width;
    pendingHeight_ = header->height;
    if (hasPending_) ++status_.replaced;
    hasPending_ = true;
    ++status_.packets;
    pw_loop_signal_event(pw_thread_loop_get_loop(loop_), frameEvent_);
    return true;
}

bool PipeWireCamera::ConnectStream(std::string* error) {
    PipeWireCameraStream::Events events;
    events.formatAgreed = [this](const PipeWireVideoFormat& format) { OnFormatAgreed(format); };
    events.fill = [this](std::uint8_t* target, std::size_t capacity) { return Fill(target, capacity); };
    events.lost = [this](const std::string& why) { OnLost(why); };
    events.consumersChanged = [this] { RefreshStatus(); };
    stream_ = PipeWireCameraStream::Connect(context_, config_, std::move(events), error);
    return stream_ != nullptr;
}

void PipeWireCamera::ArmTimer(spa_source* timer, Clock::duration delay) {
    const auto nanoseconds = std::max<std::int64_t>(std::chrono::nanoseconds(delay).count(), 1);
    timespec value{static_cast<time_t>(nanoseconds / 1000000000), static_cast<long>(nanoseconds % 1000000000)};
    timespec interval{0, 0};
    pw_loop_update_timer(pw_thread_loop_get_loop(loop_), timer, &value, &interval, false);
}

void PipeWireCamera::TakePendingFrame() {
    {
        std::lock_guard lock(mutex_);
        if (!hasPending_) return;
        latest_.swap(pending_);
        latestWidth_ = pendingWidth_;
        latestHeight_ = pendingHeight_;
        hasPending_ = false;
    }
    ConvertLatest();
    Send(false);
}

void PipeWireCamera::ConvertLatest() {
    if (packer_ && !latest_.empty()) packer_->Convert(latest_.data(), latestWidth_, latestHeight_);
}

// One frame out now; the next repeat one period later.
void PipeWireCamera::Send(bool repeat) {
    if (stream_ && stream_->Trigger() && repeat) {
        std::lock_guard lock(mutex_);
        ++status_.repeats;
    }
    if (config_.repeatWhileStalled) ArmTimer(repeatTimer_, period_);
}

void PipeWireCamera::OnFormatAgreed(const PipeWireVideoFormat& format) {
    if (!packer_ || packer_->format() != format) {
        packer_ = std::make_unique<PipeWireFramePacker>(format);
        ConvertLatest();
    }
    RefreshStatus();
}

std::size_t PipeWireCamera::Fill(std::uint8_t* target, std::size_t capacity) {
    const std::size_t written = packer_ ? packer_->CopyTo(target, capacity) : 0;
    if (written > 0) {
        std::lock_guard lock(mutex_);
        ++status_.framesSent;
    }
    return written;
}

void PipeWireCamera::OnLost(const std::string& why) {
    {
        std::lock_guard lock(mutex_);
        ++status_.losses;
        status_.lastError = why;
    }
    RefreshStatus();
    backoff_.Reset();
    ArmTimer(reconnectTimer_, backoff_.Next());
}

void PipeWireCamera::Reconnect() {
    stream_.reset();
    std::string why;
    if (!ConnectStream(&why)) {
        {
            std::lock_guard lock(mutex_);
            status_.lastError = why;
        }
        ArmTimer(reconnectTimer_, backoff_.Next());
        return;
    }
    backoff_.Reset();
    std::lock_guard lock(mutex_);
    ++status_.reconnects;
}

void PipeWireCamera::RefreshStatus() {
    const bool published = stream_ && stream_->Published();
    const int consumers = stream_ ? stream_->Consumers() : 0;
    consumers_ = consumers;
    std::lock_guard lock(mutex_);
    status_.published = published;
    status_.consumers = consumers;
    status_.format = stream_ ? stream_->AgreedFormat() : std::nullopt;
}

void PipeWireCamera::OnFrameEvent(void* self, std::uint64_t) { static_cast<PipeWireCamera*>(self)->TakePendingFrame(); }

void PipeWireCamera::OnRepeatTimer(void* self, std::uint64_t) { static_cast<PipeWireCamera*>(self)->Send(true); }

void PipeWireCamera::OnReconnectTimer(void* self, std::uint64_t) { static_cast<PipeWireCamera*>(self)->Reconnect(); }

}  // namespace lumora
