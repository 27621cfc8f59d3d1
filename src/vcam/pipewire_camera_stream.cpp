#include "vcam/pipewire_camera_stream.h"

#include "vcam/pipewire_stream_params.h"
#include "vcam/virtual_camera_name.h"

#include <cerrno>
#include <cstring>

namespace lumora {
namespace {

pw_properties* NodeProperties(const VcamConfig& config) {
    pw_properties* props = pw_properties_new(
        PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY, "Capture", PW_KEY_MEDIA_ROLE, "Camera",
        PW_KEY_MEDIA_CLASS, "Video/Source", PW_KEY_NODE_NAME, kPipeWireNodeName, PW_KEY_NODE_DESCRIPTION,
        kVirtualCameraName, PW_KEY_MEDIA_NAME, kVirtualCameraName, nullptr);
    pw_properties_setf(props, PW_KEY_VIDEO_SIZE, "%dx%d", config.format.width, config.format.height);
    pw_properties_setf(props, PW_KEY_VIDEO_RATE, "%d/1", config.framesPerSecond);
    return props;
}

PipeWireLayout PreferredLayout(const VcamConfig& config) {
    return config.format.pixelFormat == VcamPixelFormat::kI420 ? PipeWireLayout::kI420 : PipeWireLayout::kYuy2;
}

}  // namespace

std::unique_ptr<PipeWireCameraStream> PipeWireCameraStream::Connect(pw_context* context, const VcamConfig& config,
                                                                    Events events, std::string* error) {
    std::unique_ptr<PipeWireCameraStream> stream(new PipeWireCameraStream(config, std::move(events)));
    if (!stream->Start(context, error)) return nullptr;
    return stream;
}

PipeWireCameraStream::PipeWireCameraStream(const VcamConfig& config, Events events)
    : config_(config), events_(std::move(events)) {}

PipeWireCameraStream::~PipeWireCameraStream() {
    links_.Detach();
    if (stream_ != nullptr) {
        spa_hook_remove(&streamListener_);
        pw_stream_destroy(stream_);
    }
    if (core_ != nullptr) {
        spa_hook_remove(&coreListener_);
        pw_core_disconnect(core_);
    }
}

bool PipeWireCameraStream::Start(pw_context* context, std::string* error) {
    core_ = pw_context_connect(context, nullptr, 0);
    if (core_ == nullptr) {
        if (error) *error = std::string("cannot reach the PipeWire daemon: ") + std::strerror(errno);
        return false;
    }
    static const pw_core_events coreEvents = [] {
        pw_core_events filled{};
        filled.version = PW_VERSION_CORE_EVENTS;
        filled.error = &PipeWireCameraStream::OnCoreError;
        return filled;
    }();
    pw_core_add_listener(core_, &coreListener_, &coreEvents, this);
    links_.Attach(core_, [this] {
        if (events_.consumersChanged) events_.consumersChanged();
    });
    return Publish(error);
}

// The stream, offering every layout of the configured size and rate.
bool PipeWireCameraStream::Publish(std::string* error) {
    stream_ = pw_stream_new(core_, kVirtualCameraName, NodeProperties(config_));
    if (stream_ == nullptr) {
        if (error) *error = std::string("cannot make the PipeWire stream: ") + std::strerror(errno);
        return false;
    }
    static const pw_stream_events streamEvents = [] {
        pw_stream_events filled{};
        filled.version = PW_VERSION_STREAM_EVENTS;
        filled.state_changed = &PipeWireCameraStream::OnStateChanged;
        filled.param_changed = &PipeWireCameraStream::OnParamChanged;
        filled.process = &PipeWireCameraStream::OnProcess;
        return filled;
    }();
    pw_stream_add_listener(stream_, &streamListener_, &streamEvents, this);
    std::uint8_t memory[1024];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(memory, sizeof memory);
    const spa_pod* params[] = {BuildEnumFormat(&builder, config_.format.width, config_.format.height,
                                               config_.framesPerSecond, OfferedLayouts(PreferredLayout(config_)))};
    const auto flags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_DRIVER | PW_STREAM_FLAG_MAP_BUFFERS);
    if (const int failure = pw_stream_connect(stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params, 1); failure < 0) {
        if (error) *error = std::string("cannot publish the PipeWire camera: ") + std::strerror(-failure);
        return false;
    }
    return true;
}

bool PipeWireCameraStream::Published() const {
    return !lost_ && (state_ == PW_STREAM_STATE_PAUSED || state_ == PW_STREAM_STATE_STREAMING);
}

bool PipeWireCameraStream::Streaming() const { return !lost_ && state_ == PW_STREAM_STATE_STREAMING && agreed_; }

int PipeWireCameraStream::Consumers() const {
    if (!Published()) return 0;
    return links_.ConsumersOf(pw_stream_get_node_id(stream_));
}

bool PipeWireCameraStream::Trigger() { return Streaming() && pw_stream_trigger_process(stream_) >= 0; }

void PipeWireCameraStream::AnnounceFormat(const PipeWireVideoFormat& format) {
    const std::string layout = LayoutName(format.layout);
    const spa_dict_item items[] = {{PW_KEY_VIDEO_FORMAT, layout.c_str()}};
    const spa_dict dict = SPA_DICT_INIT_ARRAY(items);
    pw_stream_update_properties(stream_, &dict);
}

void PipeWireCameraStream::OnCoreError(void* data, std::uint32_t id, int, int res, const char* message) {
    auto* self = static_cast<PipeWireCameraStream*>(data);
    if (id != PW_ID_CORE || res != -EPIPE || self->lost_) return;
    self->lost_ = true;
    if (self->events_.lost) self->events_.lost(std::string("PipeWire daemon lost: ") + (message ? message : ""));
}

void PipeWireCameraStream::OnStateChanged(void* data, pw_stream_state, pw_stream_state state, const char* error) {
    auto* self = static_cast<PipeWireCameraStream*>(data);
    self->state_ = state;
    if (self->events_.consumersChanged) self->events_.consumersChanged();
    if (state != PW_STREAM_STATE_ERROR || self->lost_) return;
    self->lost_ = true;
    if (self->events_.lost) self->events_.lost(std::string("PipeWire stream failed: ") + (error ? error : ""));
}

void PipeWireCameraStream::OnParamChanged(void* data, std::uint32_t id, const spa_pod* param) {
    auto* self = static_cast<PipeWireCameraStream*>(data);
    if (id != SPA_PARAM_Format) return;
    self->agreed_ = ParseAgreedFormat(param);
    if (!self->agreed_) return;
    std::uint8_t memory[256];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(memory, sizeof memory);
    const spa_pod* params[] = {BuildBuffers(&builder, *self->agreed_)};
    pw_stream_update_params(self->stream_, params, 1);
    self->AnnounceFormat(*self->agreed_);
    if (self->events_.formatAgreed) self->events_.formatAgreed(*self->agreed_);
}

void PipeWireCameraStream::OnProcess(void* data) {
    auto* self = static_cast<PipeWireCameraStream*>(data);
    pw_buffer* buffer = pw_stream_dequeue_buffer(self->stream_);
    if (buffer == nullptr) return;
    spa_data& block = buffer->buffer->datas[0];
    std::size_t written = 0;
    if (block.data != nullptr && self->agreed_ && self->events_.fill) {
        written = self->events_.fill(static_cast<std::uint8_t*>(block.data), block.maxsize);
    }
    block.chunk->offset = 0;
    block.chunk->size = static_cast<std::uint32_t>(written);
    block.chunk->stride = self->agreed_ ? static_cast<std::int32_t>(self->agreed_->Stride()) : 0;
    pw_stream_queue_buffer(self->stream_, buffer);
}

}  // namespace lumora
