#include "video/preview_sink.h"

#include "video/element_state.h"

#include <gst/base/gstbasesink.h>
#include <gst/video/video.h>

#include <atomic>
#include <mutex>
#include <new>

namespace lumora {
namespace {

GST_DEBUG_CATEGORY_STATIC(previewSinkDebug);
#define GST_CAT_DEFAULT previewSinkDebug

struct PreviewState {
    std::mutex targetMutex;
    PreviewTarget* target = nullptr;
    GstVideoInfo info{};  // streaming thread only
    std::atomic<std::uint64_t> rendered{0};
};

using LumoraPreviewSink = ElementInstance<GstBaseSink, PreviewState>;
using LumoraPreviewSinkClass = ElementClass<GstBaseSinkClass>;
G_DEFINE_TYPE(LumoraPreviewSink, lumora_preview_sink, GST_TYPE_BASE_SINK)

GstStaticPadTemplate sinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE("BGR")));

PreviewState* StateOf(gpointer instance) { return ElementStateOf<LumoraPreviewSink>(instance); }

double StreamTime(GstBaseSink* base, GstBuffer* buffer) {
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(pts) || base->segment.format != GST_FORMAT_TIME) return 0.0;
    const guint64 time = gst_segment_to_stream_time(&base->segment, GST_FORMAT_TIME, pts);
    return GST_CLOCK_TIME_IS_VALID(time) ? static_cast<double>(time) / static_cast<double>(GST_SECOND) : 0.0;
}

gboolean SetCaps(GstBaseSink* base, GstCaps* caps) {
    PreviewState* state = StateOf(base);
    GstVideoInfo info;
    if (state == nullptr || !gst_video_info_from_caps(&info, caps)) return FALSE;
    state->info = info;
    return TRUE;
}

GstFlowReturn Render(GstBaseSink* base, GstBuffer* buffer) {
    PreviewState* state = StateOf(base);
    if (state == nullptr) return GST_FLOW_ERROR;
    state->rendered.fetch_add(1, std::memory_order_relaxed);

    std::lock_guard lock(state->targetMutex);
    // A gap buffer holds no picture (the grabber's, while nothing was to read it).
    if (state->target == nullptr || GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_GAP)) return GST_FLOW_OK;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &state->info, buffer, GST_MAP_READ)) {
        GST_WARNING_OBJECT(base, "cannot map a frame");
        return GST_FLOW_OK;
    }
    PreviewFrame preview;
    preview.pixels = static_cast<const unsigned char*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    preview.width = GST_VIDEO_FRAME_WIDTH(&frame);
    preview.height = GST_VIDEO_FRAME_HEIGHT(&frame);
    preview.stride = static_cast<std::size_t>(GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
    preview.time = StreamTime(base, buffer);
    state->target->PresentFrame(preview);
    gst_video_frame_unmap(&frame);
    return GST_FLOW_OK;
}

void lumora_preview_sink_class_init(LumoraPreviewSinkClass* klass) {
    DescribeElementClass(klass, FinalizeElement<LumoraPreviewSink, &lumora_preview_sink_parent_class>,
                         "Lumora preview sink", "Sink/Video", "Hands each frame to the preview window",
                         {&sinkTemplate});
    GstBaseSinkClass* sinkClass = GST_BASE_SINK_CLASS(klass);
    sinkClass->set_caps = SetCaps;
    sinkClass->render = Render;
}

void lumora_preview_sink_init(LumoraPreviewSink* self) {
    self->state = new (std::nothrow) PreviewState;
    GstBaseSink* base = GST_BASE_SINK(self);
    gst_base_sink_set_sync(base, TRUE);
    gst_base_sink_set_qos_enabled(base, FALSE);
    gst_base_sink_set_max_lateness(base, -1);
}

PreviewState* PreviewStateOf(GstElement* element) { return IsPreviewSink(element) ? StateOf(element) : nullptr; }

}  // namespace

bool RegisterPreviewSink() {
    return RegisterElementOnce<lumora_preview_sink_get_type>(kPreviewSinkFactoryName, &previewSinkDebug,
                                                             "Lumora preview sink");
}

GstElement* CreatePreviewSink(const char* name) {
    if (!RegisterPreviewSink()) return nullptr;
    GstElement* element = gst_element_factory_make(kPreviewSinkFactoryName, name);
    if (element != nullptr && StateOf(element) == nullptr) {
        gst_object_unref(gst_object_ref_sink(element));
        return nullptr;
    }
    return element;
}

bool IsPreviewSink(GstElement* element) {
    return element != nullptr && RegisterPreviewSink() &&
           G_TYPE_CHECK_INSTANCE_TYPE(element, lumora_preview_sink_get_type());
}

bool SetPreviewTarget(GstElement* element, PreviewTarget* target) {
    PreviewState* state = PreviewStateOf(element);
    if (state == nullptr) return false;
    std::lock_guard lock(state->targetMutex);
    state->target = target;
    return true;
}

std::uint64_t PreviewFramesRendered(GstElement* element) {
    PreviewState* state = PreviewStateOf(element);
    return state ? state->rendered.load(std::memory_order_relaxed) : 0;
}

}  // namespace lumora
