#include "video/grabber_element.h"

#include "video/element_state.h"
#include "video/grabber_frame_layout.h"

#include <gst/base/gstbasetransform.h>
#include <gst/video/video.h>

#include <atomic>
#include <mutex>
#include <new>
#include <vector>

namespace lumora {
namespace {

GST_DEBUG_CATEGORY_STATIC(grabberDebug);
#define GST_CAT_DEFAULT grabberDebug

// What the C++ side keeps per element. Mode and video info are touched by one thread at a
// time (mode before the element leaves NULL, the rest on the streaming thread, which
// serialises caps and buffers); the callbacks sit under their own lock.
struct GrabberState {
    GrabberMode mode = GrabberMode::kBuffers;
    std::mutex callbackMutex;
    GrabberBufferCallback buffer;
    GrabberFormatCallback format;
    GstVideoInfo info{};
    std::vector<unsigned char> frame;    // one frame in the VideoFrame layout, sized by SetCaps
    std::atomic<std::uint64_t> buffers{0};
    std::atomic<std::uint64_t> refused{0};
};

using LumoraGrabber = ElementInstance<GstBaseTransform, GrabberState>;
using LumoraGrabberClass = ElementClass<GstBaseTransformClass>;
G_DEFINE_TYPE(LumoraGrabber, lumora_grabber, GST_TYPE_BASE_TRANSFORM)

GstStaticPadTemplate sinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);
GstStaticPadTemplate sourceTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);

GstStaticCaps videoFrameCaps = GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE("BGR"));

GrabberState* StateOf(gpointer instance) { return ElementStateOf<LumoraGrabber>(instance); }

double SampleTime(GstBaseTransform* base, GstBuffer* buffer) {
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(pts) || base->segment.format != GST_FORMAT_TIME) return 0.0;
    const guint64 streamTime = gst_segment_to_stream_time(&base->segment, GST_FORMAT_TIME, pts);
    if (!GST_CLOCK_TIME_IS_VALID(streamTime)) return 0.0;
    return static_cast<double>(streamTime) / static_cast<double>(GST_SECOND);
}

// The caps on the other side are the same caps; in frame mode only their BGR part.
GstCaps* TransformCaps(GstBaseTransform* base, GstPadDirection, GstCaps* caps, GstCaps* filter) {
    GrabberState* state = StateOf(base);
    GstCaps* result = nullptr;
    if (state != nullptr && state->mode == GrabberMode::kVideoFrames) {
        GstCaps* wanted = gst_static_caps_get(&videoFrameCaps);
        result = gst_caps_intersect_full(caps, wanted, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(wanted);
    } else {
        result = gst_caps_ref(caps);
    }
    if (filter != nullptr) {
        GstCaps* both = gst_caps_intersect_full(filter, result, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(result);
        result = both;
    }
    return result;
}

ZImageBitmapInfoHeader HeaderOf(const GstVideoInfo& info) {
    ZImageBitmapInfoHeader header{};
    header.biSize = sizeof(ZImageBitmapInfoHeader);
    header.biWidth = GST_VIDEO_INFO_WIDTH(&info);
    header.biHeight = GST_VIDEO_INFO_HEIGHT(&info);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = 0;
    header.biSizeImage = static_cast<std::uint32_t>(DibStride(header.biWidth) * static_cast<std::size_t>(header.biHeight));
    return header;
}

gboolean SetCaps(GstBaseTransform* base, GstCaps* incaps, GstCaps*) {
    GrabberState* state = StateOf(base);
    if (state == nullptr) return FALSE;
    if (state->mode != GrabberMode::kVideoFrames) return TRUE;

    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, incaps) || GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGR ||
        GST_VIDEO_INFO_WIDTH(&info) < 1 || GST_VIDEO_INFO_HEIGHT(&info) < 1) {
        GST_WARNING_OBJECT(base, "refusing %" GST_PTR_FORMAT, incaps);
        return FALSE;
    }
    const ZImageBitmapInfoHeader header = HeaderOf(info);
    try {
        state->frame.assign(header.biSizeImage, 0);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    state->info = info;
    std::lock_guard lock(state->callbackMutex);
    if (state->format) state->format(header);
    return TRUE;
}

HRESULT CallBack(GrabberState* state, double time, unsigned char* data, std::size_t size) {
    std::lock_guard lock(state->callbackMutex);
    if (!state->buffer) return S_OK;
    return state->buffer(time, data, static_cast<long>(size));
}

bool HasBufferCallback(GrabberState* state) {
    std::lock_guard lock(state->callbackMutex);
    return static_cast<bool>(state->buffer);
}

// The rows, reversed, go through a DIB-layout block: the callback sees the VideoFrame
// layout, and what it changed (S_OK) is copied back in GStreamer's row order. A callback
// that left the frame alone (S_FALSE) or refused it costs no copy back.
HRESULT GrabThroughCopy(GrabberState* state, double time, unsigned char* pixels, std::size_t stride, int width,
                        int height) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t dibStride = DibStride(width);
    state->frame.resize(dibStride * static_cast<std::size_t>(height));
    CopyRowsReversed(pixels, stride, state->frame.data(), dibStride, rowBytes, height);
    const HRESULT hr = CallBack(state, time, state->frame.data(), state->frame.size());
    if (hr == S_OK) CopyRowsReversed(state->frame.data(), dibStride, pixels, stride, rowBytes, height);
    return hr;
}

GstFlowReturn GrabVideoFrame(GstBaseTransform* base, GrabberState* state, GstBuffer* buffer) {
    if (!HasBufferCallback(state)) return GST_FLOW_OK;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &state->info, buffer, GST_MAP_READWRITE)) {
        GST_ELEMENT_ERROR(base, STREAM, FAILED, ("Cannot read a video frame."), (nullptr));
        return GST_FLOW_ERROR;
    }
    const int width = GST_VIDEO_FRAME_WIDTH(&frame);
    const int height = GST_VIDEO_FRAME_HEIGHT(&frame);
    auto* pixels = static_cast<unsigned char*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    const auto stride = static_cast<std::size_t>(GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
    const double time = SampleTime(base, buffer);
    const HRESULT hr = GrabThroughCopy(state, time, pixels, stride, width, height);
    if (FAILED(hr)) state->refused.fetch_add(1, std::memory_order_relaxed);
    gst_video_frame_unmap(&frame);
    return GST_FLOW_OK;
}

GstFlowReturn GrabBuffer(GstBaseTransform* base, GrabberState* state, GstBuffer* buffer) {
    if (!HasBufferCallback(state)) return GST_FLOW_OK;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        GST_ELEMENT_ERROR(base, STREAM, FAILED, ("Cannot read a buffer."), (nullptr));
        return GST_FLOW_ERROR;
    }
    // Read only, as the header says; the callback signature is shared with frame mode.
    const HRESULT hr = CallBack(state, SampleTime(base, buffer), const_cast<unsigned char*>(map.data), map.size);
    if (FAILED(hr)) state->refused.fetch_add(1, std::memory_order_relaxed);
    gst_buffer_unmap(buffer, &map);
    return GST_FLOW_OK;
}

GstFlowReturn TransformInPlace(GstBaseTransform* base, GstBuffer* buffer) {
    GrabberState* state = StateOf(base);
    if (state == nullptr) return GST_FLOW_ERROR;
    state->buffers.fetch_add(1, std::memory_order_relaxed);
    return state->mode == GrabberMode::kVideoFrames ? GrabVideoFrame(base, state, buffer)
                                                    : GrabBuffer(base, state, buffer);
}

void lumora_grabber_class_init(LumoraGrabberClass* klass) {
    DescribeElementClass(klass, FinalizeElement<LumoraGrabber, &lumora_grabber_parent_class>, "Lumora sample grabber",
                         "Filter/Video", "Hands every frame to the program on its way through",
                         {&sinkTemplate, &sourceTemplate});
    GstBaseTransformClass* transformClass = GST_BASE_TRANSFORM_CLASS(klass);
    transformClass->transform_caps = TransformCaps;
    transformClass->set_caps = SetCaps;
    transformClass->transform_ip = TransformInPlace;
    transformClass->transform_ip_on_passthrough = TRUE;
}

void lumora_grabber_init(LumoraGrabber* self) {
    self->state = new (std::nothrow) GrabberState;
    gst_base_transform_set_in_place(GST_BASE_TRANSFORM(self), TRUE);
    gst_base_transform_set_passthrough(GST_BASE_TRANSFORM(self), TRUE);
}

GrabberState* GrabberStateOf(GstElement* element) { return IsGrabberElement(element) ? StateOf(element) : nullptr; }

}  // namespace

bool RegisterGrabberElement() {
    if (!gst_is_initialized()) return false;
    static const bool registered =
        RegisterElementFactory(kGrabberFactoryName, lumora_grabber_get_type(), &grabberDebug, "Lumora sample grabber");
    return registered;
}

GstElement* CreateGrabberElement(GrabberMode mode, const char* name) {
    if (!RegisterGrabberElement()) return nullptr;
    GstElement* element = gst_element_factory_make(kGrabberFactoryName, name);
    if (element == nullptr) return nullptr;
    GrabberState* state = StateOf(element);
    if (state == nullptr) {
        gst_object_unref(gst_object_ref_sink(element));
        return nullptr;
    }
    state->mode = mode;
    // Frames are changed in place; buffers are only looked at.
    gst_base_transform_set_passthrough(GST_BASE_TRANSFORM(element), mode == GrabberMode::kBuffers);
    return element;
}

bool IsGrabberElement(GstElement* element) {
    return element != nullptr && RegisterGrabberElement() &&
           G_TYPE_CHECK_INSTANCE_TYPE(element, lumora_grabber_get_type());
}

bool SetGrabberCallbacks(GstElement* element, GrabberBufferCallback buffer, GrabberFormatCallback format) {
    GrabberState* state = GrabberStateOf(element);
    if (state == nullptr) return false;
    std::lock_guard lock(state->callbackMutex);
    state->buffer = std::move(buffer);
    state->format = std::move(format);
    return true;
}

void ClearGrabberCallbacks(GstElement* element) { SetGrabberCallbacks(element, {}, {}); }

GrabberStatistics ReadGrabberStatistics(GstElement* element) {
    GrabberState* state = GrabberStateOf(element);
    if (state == nullptr) return {};
    return {state->buffers.load(std::memory_order_relaxed), state->refused.load(std::memory_order_relaxed)};
}

}  // namespace lumora
