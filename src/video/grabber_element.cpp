#include "video/grabber_element.h"

#include "video/bgr_conversion.h"
#include "video/element_state.h"
#include "video/grabber_frame_layout.h"

#include <gst/base/gstbasetransform.h>
#include <gst/video/video.h>

#include <atomic>
#include <cstring>
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
    GrabberBlockCallback block;
    GstVideoInfo info{};               // what comes in
    GstVideoInfo outInfo{};            // what goes out: BGR of the same size
    std::vector<unsigned char> frame;  // one frame in the VideoFrame layout, when there is no block callback
    std::atomic<std::uint64_t> buffers{0};
    std::atomic<std::uint64_t> refused{0};
    std::atomic<std::uint64_t> missed{0};
    std::atomic<bool> outputRead{true};           // whether anything downstream reads converted frames
    GstClockTime lastTime = GST_CLOCK_TIME_NONE;  // of the frame before, in this segment
};

using LumoraGrabber = ElementInstance<GstBaseTransform, GrabberState>;
using LumoraGrabberClass = ElementClass<GstBaseTransformClass>;
G_DEFINE_TYPE(LumoraGrabber, lumora_grabber, GST_TYPE_BASE_TRANSFORM)

GstStaticPadTemplate sinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);
GstStaticPadTemplate sourceTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);

GstStaticCaps videoFrameCaps = GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE("BGR"));
GstStaticCaps convertibleCaps = GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE(LUMORA_BGR_CONVERTIBLE_FORMATS));

GrabberState* StateOf(gpointer instance) { return ElementStateOf<LumoraGrabber>(instance); }

double SampleTime(GstBaseTransform* base, GstBuffer* buffer) {
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(pts) || base->segment.format != GST_FORMAT_TIME) return 0.0;
    const guint64 streamTime = gst_segment_to_stream_time(&base->segment, GST_FORMAT_TIME, pts);
    if (!GST_CLOCK_TIME_IS_VALID(streamTime)) return 0.0;
    return static_cast<double>(streamTime) / static_cast<double>(GST_SECOND);
}

// `caps` as far as `from` takes them, each structure in the formats of `to` instead.
GstCaps* Reformat(GstCaps* caps, GstStaticCaps* from, GstStaticCaps* to) {
    GstCaps* taken = gst_static_caps_get(from);
    GstCaps* usable = gst_caps_intersect_full(caps, taken, GST_CAPS_INTERSECT_FIRST);
    GstCaps* reformatted = gst_caps_new_empty();
    for (guint i = 0; i < gst_caps_get_size(usable); ++i) {
        GstStructure* structure = gst_structure_copy(gst_caps_get_structure(usable, i));
        gst_structure_remove_fields(structure, "format", "colorimetry", "chroma-site", nullptr);
        reformatted = gst_caps_merge_structure(reformatted, structure);
    }
    GstCaps* target = gst_static_caps_get(to);
    GstCaps* result = gst_caps_intersect_full(reformatted, target, GST_CAPS_INTERSECT_FIRST);
    for (GstCaps* done : {taken, usable, reformatted, target}) gst_caps_unref(done);
    return result;
}

// In frame mode the grabber turns every format it converts into BGR of the same size;
// otherwise the caps on the other side are the same caps.
GstCaps* TransformCaps(GstBaseTransform* base, GstPadDirection direction, GstCaps* caps, GstCaps* filter) {
    GrabberState* state = StateOf(base);
    GstCaps* result = nullptr;
    if (state != nullptr && state->mode == GrabberMode::kVideoFrames) {
        result = direction == GST_PAD_SINK ? Reformat(caps, &convertibleCaps, &videoFrameCaps)
                                           : Reformat(caps, &videoFrameCaps, &convertibleCaps);
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

// A frame on either side takes what its caps say, whatever the size of the frame on the
// other: a decoder's frames may carry padding rows.
gboolean TransformSize(GstBaseTransform*, GstPadDirection, GstCaps*, gsize, GstCaps* othercaps, gsize* othersize) {
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, othercaps)) return FALSE;
    *othersize = GST_VIDEO_INFO_SIZE(&info);
    return TRUE;
}

bool AcceptsFrames(const GstVideoInfo& in, const GstVideoInfo& out) {
    return IsBgrConvertible(GST_VIDEO_INFO_FORMAT(&in)) && GST_VIDEO_INFO_FORMAT(&out) == GST_VIDEO_FORMAT_BGR &&
           GST_VIDEO_INFO_WIDTH(&in) >= 1 && GST_VIDEO_INFO_HEIGHT(&in) >= 1 &&
           GST_VIDEO_INFO_WIDTH(&in) == GST_VIDEO_INFO_WIDTH(&out) &&
           GST_VIDEO_INFO_HEIGHT(&in) == GST_VIDEO_INFO_HEIGHT(&out);
}

gboolean SetCaps(GstBaseTransform* base, GstCaps* incaps, GstCaps* outcaps) {
    GrabberState* state = StateOf(base);
    if (state == nullptr) return FALSE;
    if (state->mode != GrabberMode::kVideoFrames) return TRUE;

    GstVideoInfo in;
    GstVideoInfo out;
    if (!gst_video_info_from_caps(&in, incaps) || !gst_video_info_from_caps(&out, outcaps) || !AcceptsFrames(in, out)) {
        GST_WARNING_OBJECT(base, "refusing %" GST_PTR_FORMAT, incaps);
        return FALSE;
    }
    state->info = in;
    state->outInfo = out;
    // BGR is handed off where it lies; anything else is converted on its way out.
    gst_base_transform_set_in_place(base, GST_VIDEO_INFO_FORMAT(&in) == GST_VIDEO_FORMAT_BGR);
    const ZImageBitmapInfoHeader header = HeaderOf(out);
    std::lock_guard lock(state->callbackMutex);
    if (state->format) state->format(header);
    return TRUE;
}

// A frame the grabber converts never leaves it, and it reads every frame through its
// video meta, so upstream may hand frames of any row and plane layout: a decoder then
// decodes straight into the buffers it sends instead of copying each frame into one of
// the plain layout. Frames handed on as they are (BGR, buffers) keep what downstream
// answers.
gboolean ProposeAllocation(GstBaseTransform* base, GstQuery* decideQuery, GstQuery* query) {
    if (!GST_BASE_TRANSFORM_CLASS(lumora_grabber_parent_class)->propose_allocation(base, decideQuery, query)) {
        return FALSE;
    }
    GrabberState* state = StateOf(base);
    GstCaps* caps = nullptr;
    gst_query_parse_allocation(query, &caps, nullptr);
    GstVideoInfo info;
    if (state != nullptr && state->mode == GrabberMode::kVideoFrames && caps != nullptr &&
        gst_video_info_from_caps(&info, caps) && GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGR &&
        !gst_query_find_allocation_meta(query, GST_VIDEO_META_API_TYPE, nullptr)) {
        gst_query_add_allocation_meta(query, GST_VIDEO_META_API_TYPE, nullptr);
    }
    return TRUE;
}

// The callbacks' lock, held for the whole of a frame: a block the block callback gave is
// always handed to the buffer callback, even while the callbacks are being replaced.
using CallbacksHeld = std::lock_guard<std::mutex>;

HRESULT CallBack(const CallbacksHeld&, GrabberState* state, double time, unsigned char* data, std::size_t size) {
    if (!state->buffer) return S_OK;
    return state->buffer(time, data, static_cast<long>(size));
}

// The VideoFrame-layout block the callback gets the frame in: the block callback's, or
// without one a block of our own. Null when the block callback refused the frame (then
// counted) or memory is short.
unsigned char* FrameBlock(const CallbacksHeld&, GrabberState* state, std::size_t size) {
    if (state->block) {
        unsigned char* block = state->block(static_cast<std::uint32_t>(size));
        if (block == nullptr) state->refused.fetch_add(1, std::memory_order_relaxed);
        return block;
    }
    try {
        state->frame.resize(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return state->frame.data();
}

void CountAnswer(GrabberState* state, HRESULT hr) {
    if (FAILED(hr)) state->refused.fetch_add(1, std::memory_order_relaxed);
}

// One mapped frame: plane 0's rows and what a VideoFrame-layout copy of it takes.
struct Rows {
    unsigned char* pixels;
    std::size_t stride;
    std::size_t rowBytes;
    std::size_t dibStride;
    int height;

    explicit Rows(GstVideoFrame& frame)
            : pixels(static_cast<unsigned char*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0))),
              stride(static_cast<std::size_t>(GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0))),
              rowBytes(static_cast<std::size_t>(GST_VIDEO_FRAME_WIDTH(&frame)) * 3),
              dibStride(DibStride(GST_VIDEO_FRAME_WIDTH(&frame))),
              height(GST_VIDEO_FRAME_HEIGHT(&frame)) {}
    std::size_t DibSize() const { return dibStride * static_cast<std::size_t>(height); }
};

bool MapFrame(GstBaseTransform* base, GstVideoFrame* frame, GstVideoInfo* info, GstBuffer* buffer, GstMapFlags flags) {
    if (gst_video_frame_map(frame, info, buffer, flags)) return true;
    GST_ELEMENT_ERROR(base, STREAM, FAILED, ("Cannot read a video frame."), (nullptr));
    return false;
}

// Frames of a fixed rate the time stamps skip over: the source or a decoder dropped them
// before they got here (a camera's driver with no free buffer, a late frame skipped).
void CountMissed(GrabberState* state, GstBuffer* buffer) {
    const GstClockTime time = GST_BUFFER_PTS(buffer);
    const gint rate = GST_VIDEO_INFO_FPS_N(&state->info);
    const gint per = GST_VIDEO_INFO_FPS_D(&state->info);
    if (GST_CLOCK_TIME_IS_VALID(time) && GST_CLOCK_TIME_IS_VALID(state->lastTime) && time > state->lastTime &&
        rate > 0 && per > 0) {
        const guint64 frames = gst_util_uint64_scale_round(time - state->lastTime, static_cast<guint64>(rate),
                                                           static_cast<guint64>(per) * GST_SECOND);
        if (frames > 1) state->missed.fetch_add(frames - 1, std::memory_order_relaxed);
    }
    if (GST_CLOCK_TIME_IS_VALID(time)) state->lastTime = time;
}

// A new segment or a flush starts the time stamps over.
gboolean SinkEvent(GstBaseTransform* base, GstEvent* event) {
    if (GrabberState* state = StateOf(base); state != nullptr && (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT ||
                                                                  GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_STOP)) {
        state->lastTime = GST_CLOCK_TIME_NONE;
    }
    return GST_BASE_TRANSFORM_CLASS(lumora_grabber_parent_class)->sink_event(base, event);
}

// BGR in place: the rows, reversed, go into the block, and what the callback changed
// (S_OK) comes back in GStreamer's row order. Left alone (S_FALSE) or refused, the frame
// costs no copy back.
GstFlowReturn GrabVideoFrame(GstBaseTransform* base, GrabberState* state, GstBuffer* buffer) {
    CountMissed(state, buffer);
    const CallbacksHeld held(state->callbackMutex);
    if (!state->buffer) return GST_FLOW_OK;
    GstVideoFrame frame;
    if (!MapFrame(base, &frame, &state->info, buffer, GST_MAP_READWRITE)) return GST_FLOW_ERROR;
    const Rows rows(frame);
    if (unsigned char* block = FrameBlock(held, state, rows.DibSize())) {
        CopyRowsReversed(rows.pixels, rows.stride, block, rows.dibStride, rows.rowBytes, rows.height);
        const HRESULT hr = CallBack(held, state, SampleTime(base, buffer), block, rows.DibSize());
        if (hr == S_OK) CopyRowsReversed(block, rows.dibStride, rows.pixels, rows.stride, rows.rowBytes, rows.height);
        CountAnswer(state, hr);
    }
    gst_video_frame_unmap(&frame);
    return GST_FLOW_OK;
}

// The bytes after each row of an outgoing frame: a fresh buffer holds whatever its memory
// held before, and a recording writes the rows with their padding.
void ClearRowPadding(const Rows& rows) {
    if (rows.stride == rows.rowBytes) return;
    for (int row = 0; row < rows.height; ++row) {
        std::memset(rows.pixels + static_cast<std::size_t>(row) * rows.stride + rows.rowBytes, 0,
                    rows.stride - rows.rowBytes);
    }
}

// Any other format: converted straight into the block, and from there (the one copy of
// the frame) into the outgoing buffer the right way up. A refused frame is converted
// straight into the outgoing buffer. While nothing downstream reads the frames, a handed
// off frame is not copied: its buffer goes on without its pixels, marked as a gap.
GstFlowReturn ConvertVideoFrame(GstBaseTransform* base, GstBuffer* inbuf, GstBuffer* outbuf) {
    GrabberState* state = StateOf(base);
    if (state == nullptr) return GST_FLOW_ERROR;
    state->buffers.fetch_add(1, std::memory_order_relaxed);
    CountMissed(state, inbuf);
    GstVideoFrame in;
    GstVideoFrame out;
    if (!MapFrame(base, &in, &state->info, inbuf, GST_MAP_READ)) return GST_FLOW_ERROR;
    if (!MapFrame(base, &out, &state->outInfo, outbuf, GST_MAP_WRITE)) {
        gst_video_frame_unmap(&in);
        return GST_FLOW_ERROR;
    }
    const Rows rows(out);
    const CallbacksHeld held(state->callbackMutex);
    unsigned char* block = state->buffer ? FrameBlock(held, state, rows.DibSize()) : nullptr;
    if (block != nullptr) {
        ConvertToBgr(in, block, rows.dibStride, true);
        CountAnswer(state, CallBack(held, state, SampleTime(base, inbuf), block, rows.DibSize()));
        if (state->outputRead.load(std::memory_order_relaxed)) {
            CopyRowsReversed(block, rows.dibStride, rows.pixels, rows.stride, rows.rowBytes, rows.height);
            ClearRowPadding(rows);
        } else {
            GST_BUFFER_FLAG_SET(outbuf, GST_BUFFER_FLAG_GAP);
        }
    } else {
        ConvertToBgr(in, rows.pixels, rows.stride, false);
        ClearRowPadding(rows);
    }
    gst_video_frame_unmap(&out);
    gst_video_frame_unmap(&in);
    return GST_FLOW_OK;
}

GstFlowReturn GrabBuffer(GstBaseTransform* base, GrabberState* state, GstBuffer* buffer) {
    const CallbacksHeld held(state->callbackMutex);
    if (!state->buffer) return GST_FLOW_OK;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        GST_ELEMENT_ERROR(base, STREAM, FAILED, ("Cannot read a buffer."), (nullptr));
        return GST_FLOW_ERROR;
    }
    // Read only, as the header says; the callback signature is shared with frame mode.
    const HRESULT hr = CallBack(held, state, SampleTime(base, buffer), const_cast<unsigned char*>(map.data), map.size);
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
    transformClass->transform = ConvertVideoFrame;
    transformClass->transform_size = TransformSize;
    transformClass->sink_event = SinkEvent;
    transformClass->propose_allocation = ProposeAllocation;
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

bool SetGrabberCallbacks(GstElement* element, GrabberBufferCallback buffer, GrabberFormatCallback format,
                         GrabberBlockCallback block) {
    GrabberState* state = GrabberStateOf(element);
    if (state == nullptr) return false;
    std::lock_guard lock(state->callbackMutex);
    state->buffer = std::move(buffer);
    state->format = std::move(format);
    state->block = std::move(block);
    return true;
}

void ClearGrabberCallbacks(GstElement* element) { SetGrabberCallbacks(element, {}, {}, {}); }

void SetGrabberOutputRead(GstElement* element, bool read) {
    if (GrabberState* state = GrabberStateOf(element)) state->outputRead.store(read, std::memory_order_relaxed);
}

GrabberStatistics ReadGrabberStatistics(GstElement* element) {
    GrabberState* state = GrabberStateOf(element);
    if (state == nullptr) return {};
    return {state->buffers.load(std::memory_order_relaxed), state->refused.load(std::memory_order_relaxed),
            state->missed.load(std::memory_order_relaxed)};
}

}  // namespace lumora
