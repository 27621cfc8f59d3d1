#include "video/push_source_filter.h"

#include "video/capture_format_caps.h"
#include "video/element_state.h"
#include "video/push_source_pin.h"
#include "video/push_source_screen.h"

#include <gst/base/gstpushsrc.h>
#include <gst/video/video.h>

#include <array>
#include <new>
#include <tuple>

namespace lumora {
namespace {

GST_DEBUG_CATEGORY_STATIC(pushSourceDebug);
#define GST_CAT_DEFAULT pushSourceDebug

constexpr GstClockTime kNanosecondsPerUnit = 100;

using LumoraPushSource = ElementInstance<GstPushSrc, PushSourcePin>;
using LumoraPushSourceClass = ElementClass<GstPushSrcClass>;
G_DEFINE_TYPE(LumoraPushSource, lumora_push_source, GST_TYPE_PUSH_SRC)

GstStaticPadTemplate sourceTemplate = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE("{ BGRx, BGR, RGB16, RGB15 }")));

struct CapsFormat {
    Guid subtype;
    GstVideoFormat format;
};

// Byte for byte the same pixels as the DIB formats, rows padded to four bytes alike.
constexpr std::array<CapsFormat, 4> kCapsFormats{{
    {kSubtypeRgb32, GST_VIDEO_FORMAT_BGRx},
    {kSubtypeRgb24, GST_VIDEO_FORMAT_BGR},
    {kSubtypeRgb565, GST_VIDEO_FORMAT_RGB16},
    {kSubtypeRgb555, GST_VIDEO_FORMAT_RGB15},
}};

GstVideoFormat CapsFormatOf(const Guid& subtype) {
    for (const CapsFormat& entry : kCapsFormats) {
        if (entry.subtype == subtype) return entry.format;
    }
    return GST_VIDEO_FORMAT_UNKNOWN;
}

PushSourcePin* PinOf(gpointer instance) { return ElementStateOf<LumoraPushSource>(instance); }

GstCaps* GetCaps(GstBaseSrc* base, GstCaps* filter) {
    PushSourcePin* pin = PinOf(base);
    GstCaps* caps = gst_caps_new_empty();
    if (pin != nullptr) {
        const Framerate rate = FramerateFromFrameTime(pin->CurrentSettings().frameLength);
        MediaType type;
        for (std::int32_t position = 0; pin->GetMediaType(position, &type) == S_OK; ++position) {
            const GstVideoFormat format = CapsFormatOf(type.subtype);
            const ZImageBitmapInfoHeader& header = type.format->header;
            if (format == GST_VIDEO_FORMAT_UNKNOWN || header.biWidth <= 0 || header.biHeight <= 0) continue;
            gst_caps_append_structure(
                caps, gst_structure_new("video/x-raw", "format", G_TYPE_STRING, gst_video_format_to_string(format),
                                        "width", G_TYPE_INT, header.biWidth, "height", G_TYPE_INT, header.biHeight,
                                        "framerate", GST_TYPE_FRACTION, rate.numerator, rate.denominator,
                                        "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr));
        }
    }
    if (filter != nullptr) {
        GstCaps* both = gst_caps_intersect_full(filter, caps, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(caps);
        caps = both;
    }
    return caps;
}

// The negotiated caps as the pin's media type. GStreamer's rows run top-down, but the pin
// sees its own bottom-up format with a positive height: the fill is told the row order
// with each sample instead.
gboolean SetCaps(GstBaseSrc* base, GstCaps* caps) {
    PushSourcePin* pin = PinOf(base);
    GstVideoInfo info;
    if (pin == nullptr || !gst_video_info_from_caps(&info, caps)) return FALSE;

    MediaType type;
    std::int32_t position = 0;
    for (; pin->GetMediaType(position, &type) == S_OK; ++position) {
        if (CapsFormatOf(type.subtype) == GST_VIDEO_INFO_FORMAT(&info)) break;
    }
    if (position >= PushSourcePin::kFormatCount) return FALSE;

    ZImageBitmapInfoHeader& header = type.format->header;
    header.biWidth = GST_VIDEO_INFO_WIDTH(&info);
    header.biHeight = GST_VIDEO_INFO_HEIGHT(&info);
    header.biSizeImage = ZImage_CalcImageSize(header.biWidth, header.biHeight, header.biBitCount);
    type.sampleSize = header.biSizeImage;
    if (static_cast<std::uint32_t>(GST_VIDEO_INFO_PLANE_STRIDE(&info, 0)) !=
        ZImage_CalcWidthBytes(header.biWidth, header.biBitCount)) {
        return FALSE;
    }
    if (FAILED(pin->CheckMediaType(type))) {
        GST_WARNING_OBJECT(base, "refusing %" GST_PTR_FORMAT, caps);
        return FALSE;
    }
    return SUCCEEDED(pin->SetMediaType(type));
}

// DecideBufferSize's allocator: the configuration of a GStreamer buffer pool.
class PoolAllocator final : public SampleAllocator {
public:
    PoolAllocator(GstBufferPool* pool, GstCaps* caps, guint maxBuffers) : pool_(pool), caps_(caps), max_(maxBuffers) {}

    HRESULT SetProperties(const AllocatorProperties& request, AllocatorProperties& actual) override {
        if (request.buffers < 0 || request.bufferSize < 0) return E_INVALIDARG;
        const auto buffers = static_cast<guint>(request.buffers);
        GstStructure* config = gst_buffer_pool_get_config(pool_);
        gst_buffer_pool_config_set_params(config, caps_, static_cast<guint>(request.bufferSize), buffers,
                                          max_ != 0 && max_ < buffers ? 0 : max_);
        if (!gst_buffer_pool_set_config(pool_, config)) {
            // The pool wrote what it can do into its configuration; take that if it will.
            if (!gst_buffer_pool_set_config(pool_, gst_buffer_pool_get_config(pool_))) return E_FAIL;
        }
        config = gst_buffer_pool_get_config(pool_);
        gst_buffer_pool_config_get_params(config, nullptr, &size_, &min_, &max_);
        gst_structure_free(config);
        actual.buffers = static_cast<std::int32_t>(min_);
        actual.bufferSize = static_cast<std::int32_t>(size_);
        return S_OK;
    }

    guint size() const { return size_; }
    guint min() const { return min_; }
    guint max() const { return max_; }

private:
    GstBufferPool* pool_;
    GstCaps* caps_;
    guint size_ = 0;
    guint min_ = 0;
    guint max_;
};

gboolean DecideAllocation(GstBaseSrc* base, GstQuery* query) {
    PushSourcePin* pin = PinOf(base);
    if (pin == nullptr) return FALSE;
    GstCaps* caps = nullptr;
    gst_query_parse_allocation(query, &caps, nullptr);
    if (caps == nullptr) return FALSE;

    const bool proposed = gst_query_get_n_allocation_pools(query) > 0;
    GstBufferPool* pool = nullptr;
    guint size = 0;
    guint min = 0;
    guint max = 0;
    if (proposed) gst_query_parse_nth_allocation_pool(query, 0, &pool, &size, &min, &max);

    AllocatorProperties request;
    HRESULT hr = E_FAIL;
    if (pool != nullptr) {
        PoolAllocator allocator(pool, caps, max);
        hr = pin->DecideBufferSize(&allocator, &request);
        if (SUCCEEDED(hr)) std::tie(size, min, max) = std::tuple(allocator.size(), allocator.min(), allocator.max());
    }
    if (FAILED(hr)) {
        // Nothing proposed, or downstream's pool cannot give us frames: a pool of our own.
        if (pool != nullptr) gst_object_unref(pool);
        pool = gst_buffer_pool_new();
        PoolAllocator allocator(pool, caps, 0);
        hr = pin->DecideBufferSize(&allocator, &request);
        std::tie(size, min, max) = std::tuple(allocator.size(), allocator.min(), allocator.max());
    }
    if (FAILED(hr)) {
        GST_WARNING_OBJECT(base, "no buffers of %d bytes (0x%08x)", request.bufferSize, static_cast<unsigned>(hr));
        gst_object_unref(pool);
        return FALSE;
    }

    if (proposed) {
        gst_query_set_nth_allocation_pool(query, 0, pool, size, min, max);
    } else {
        gst_query_add_allocation_pool(query, pool, size, min, max);
    }
    gst_object_unref(pool);
    return TRUE;
}

GstFlowReturn Fill(GstPushSrc* source, GstBuffer* buffer) {
    PushSourcePin* pin = PinOf(source);
    GstMapInfo map;
    if (pin == nullptr || !gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        GST_ELEMENT_ERROR(source, RESOURCE, WRITE, ("Cannot write a video frame."), (nullptr));
        return GST_FLOW_ERROR;
    }
    MediaSample sample;
    sample.data = map.data;
    sample.size = map.size;
    sample.topDown = true;
    const HRESULT hr = pin->FillBuffer(&sample);
    gst_buffer_unmap(buffer, &map);
    if (FAILED(hr)) {
        GST_ELEMENT_ERROR(source, STREAM, FAILED, ("Cannot fill a video frame."),
                          ("0x%08x", static_cast<unsigned>(hr)));
        return GST_FLOW_ERROR;
    }

    GST_BUFFER_PTS(buffer) = static_cast<GstClockTime>(sample.start) * kNanosecondsPerUnit;
    GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(buffer) = static_cast<GstClockTime>(sample.stop - sample.start) * kNanosecondsPerUnit;
    if (sample.syncPoint) {
        GST_BUFFER_FLAG_UNSET(buffer, GST_BUFFER_FLAG_DELTA_UNIT);
    } else {
        GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT);
    }
    return GST_FLOW_OK;
}

gboolean HandleEvent(GstBaseSrc* base, GstEvent* event) {
    PushSourcePin* pin = PinOf(base);
    if (GST_EVENT_TYPE(event) == GST_EVENT_QOS && pin != nullptr) {
        GstQOSType kind = GST_QOS_TYPE_OVERFLOW;
        gdouble proportion = 1.0;
        GstClockTimeDiff late = 0;
        GstClockTime timestamp = 0;
        gst_event_parse_qos(event, &kind, &proportion, &late, &timestamp);
        QualityMessage message;
        message.proportion = proportion;
        message.late = late / static_cast<GstClockTimeDiff>(kNanosecondsPerUnit);
        if (GST_CLOCK_TIME_IS_VALID(timestamp)) {
            message.timestamp = static_cast<std::int64_t>(timestamp / kNanosecondsPerUnit);
        }
        return SUCCEEDED(pin->Notify(message));
    }
    return GST_BASE_SRC_CLASS(lumora_push_source_parent_class)->event(base, event);
}

gboolean IsSeekable(GstBaseSrc*) { return FALSE; }

void lumora_push_source_class_init(LumoraPushSourceClass* klass) {
    DescribeElementClass(klass, FinalizeElement<LumoraPushSource, &lumora_push_source_parent_class>,
                         "Lumora push source", "Source/Video", "A rectangle of the screen or a still picture as video",
                         {&sourceTemplate});
    GstBaseSrcClass* baseClass = GST_BASE_SRC_CLASS(klass);
    baseClass->get_caps = GetCaps;
    baseClass->set_caps = SetCaps;
    baseClass->decide_allocation = DecideAllocation;
    baseClass->event = HandleEvent;
    baseClass->is_seekable = IsSeekable;
    GST_PUSH_SRC_CLASS(klass)->fill = Fill;
}

void lumora_push_source_init(LumoraPushSource* self) {
    self->state = new (std::nothrow) PushSourcePin(ReadDesktopScreenRect());
    gst_base_src_set_live(GST_BASE_SRC(self), FALSE);
    gst_base_src_set_format(GST_BASE_SRC(self), GST_FORMAT_TIME);
}

}  // namespace

bool RegisterPushSource() {
    if (!gst_is_initialized()) return false;
    static const bool registered = RegisterElementFactory(kPushSourceFactoryName, lumora_push_source_get_type(),
                                                          &pushSourceDebug, "Lumora push source");
    return registered;
}

GstElement* CreatePushSource(HRESULT* result, const char* name) {
    HRESULT hr = S_OK;
    GstElement* element = nullptr;
    if (!RegisterPushSource()) {
        hr = E_UNEXPECTED;
    } else {
        element = gst_element_factory_make(kPushSourceFactoryName, name);
        if (element == nullptr || PinOf(element) == nullptr) {
            if (element != nullptr) gst_object_unref(gst_object_ref_sink(element));
            element = nullptr;
            hr = E_OUTOFMEMORY;
        }
    }
    if (result != nullptr) *result = hr;
    return element;
}

bool IsPushSource(GstElement* element) {
    return element != nullptr && RegisterPushSource() &&
           G_TYPE_CHECK_INSTANCE_TYPE(element, lumora_push_source_get_type());
}

PushSourcePin* PushSourcePinOf(GstElement* source) { return IsPushSource(source) ? PinOf(source) : nullptr; }

bool SetDesktopSource(GstElement* source, std::int32_t left, std::int32_t top, std::int32_t right,
                      std::int32_t bottom, std::int32_t width, std::int32_t height, std::int32_t framesPerSecond) {
    PushSourcePin* pin = PushSourcePinOf(source);
    if (pin == nullptr) return false;
    pin->SetDesktopSource(left, top, right, bottom, width, height, framesPerSecond);
    return true;
}

bool SetImageSource(GstElement* source, const char* path, std::int32_t width, std::int32_t height,
                    std::int32_t framesPerSecond) {
    PushSourcePin* pin = PushSourcePinOf(source);
    return pin != nullptr && pin->SetImageSource(path, width, height, framesPerSecond);
}

}  // namespace lumora
