#include "video/recording_branch.h"

#include "platform/media_error.h"
#include "video/chain_connector.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <system_error>

namespace lumora {
namespace {

constexpr char kQueueName[] = "Recording Queue";
constexpr GstClockTime kFinishPollStep = 5 * GST_MSECOND;
constexpr char kCountKey[] = "lumora-branch-count";

// The frames that entered the branch, and how many it may take in all (set when it ends).
struct BranchCount {
    std::atomic<std::uint64_t> entered{0};
    std::atomic<std::uint64_t> limit{std::numeric_limits<std::uint64_t>::max()};
};

GstPadProbeReturn CountFrame(GstPad*, GstPadProbeInfo*, gpointer data) {
    auto* count = static_cast<BranchCount*>(data);
    if (count->entered.load() >= count->limit.load()) return GST_PAD_PROBE_DROP;
    count->entered.fetch_add(1);
    return GST_PAD_PROBE_OK;
}

// Counts what enters at `queue`; the count hangs on the queue (kCountKey) as long as it lives.
void CountFrames(GstElement* queue) {
    auto* count = new BranchCount;
    GstPad* input = gst_element_get_static_pad(queue, "sink");
    gst_pad_add_probe(input, GST_PAD_PROBE_TYPE_BUFFER, CountFrame, count,
                      [](gpointer owned) { delete static_cast<BranchCount*>(owned); });
    gst_object_unref(input);
    g_object_set_data(G_OBJECT(queue), kCountKey, count);
}

GstElement* AddElement(GstBin* pipeline, const char* factory, const char* name) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (element == nullptr) return nullptr;
    if (!gst_bin_add(pipeline, element)) return nullptr;  // the bin sank and dropped it
    return element;
}

// avimux -> filesink, or null.
GstElement* AddFileWriter(GstBin* pipeline, const std::string& fileName) {
    GstElement* mux = AddElement(pipeline, "avimux", RecordingBranch::kMuxName);
    GstElement* writer = AddElement(pipeline, "filesink", RecordingBranch::kWriterName);
    if (mux == nullptr || writer == nullptr) return nullptr;
    g_object_set(writer, "location", fileName.c_str(), "sync", FALSE, "async", FALSE, nullptr);
    return gst_element_link(mux, writer) ? mux : nullptr;
}

// A queue that holds a few seconds of frames for a slow encoder instead of stalling the preview.
GstElement* AddQueue(GstBin* pipeline) {
    GstElement* queue = AddElement(pipeline, "queue", kQueueName);
    if (queue != nullptr) {
        g_object_set(queue, "max-size-buffers", 0u, "max-size-bytes", 0u, "max-size-time",
                     static_cast<guint64>(5 * GST_SECOND), nullptr);
        CountFrames(queue);
    }
    return queue;
}

// Raw video in `format` (any, when empty) of width x height (any, when 0).
GstCaps* CodecInputCaps(const std::string& format, gint width, gint height, gint parN, gint parD) {
    GstCaps* caps = gst_caps_new_empty_simple("video/x-raw");
    if (!format.empty()) gst_caps_set_simple(caps, "format", G_TYPE_STRING, format.c_str(), nullptr);
    if (width > 0 && height > 0) {
        gst_caps_set_simple(caps, "width", G_TYPE_INT, width, "height", G_TYPE_INT, height, "pixel-aspect-ratio",
                            GST_TYPE_FRACTION, parN, parD, nullptr);
    }
    return caps;
}

// Sizes the encoder must be given: each frame format reaching the scaler sets the caps of
// "Codec Input" to its size scaled down to the alignment, before the scaler sees it.
struct SizeRule {
    GstElement* input;  // "Codec Input", in the same pipeline as the scaler
    std::string format;
    int alignment;
};

gint AlignDown(gint size, int alignment) { return std::max(alignment, size - size % alignment); }

GstPadProbeReturn OnScalerCaps(GstPad*, GstPadProbeInfo* info, gpointer data) {
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_CAPS) return GST_PAD_PROBE_OK;
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    gint width = 0, height = 0, parN = 1, parD = 1;
    if (gst_structure_get_int(structure, "width", &width) && gst_structure_get_int(structure, "height", &height)) {
        gst_structure_get_fraction(structure, "pixel-aspect-ratio", &parN, &parD);
        const auto* rule = static_cast<const SizeRule*>(data);
        GstCaps* wanted = CodecInputCaps(rule->format, AlignDown(width, rule->alignment),
                                         AlignDown(height, rule->alignment), parN, parD);
        g_object_set(rule->input, "caps", wanted, nullptr);
        gst_caps_unref(wanted);
    }
    return GST_PAD_PROBE_OK;
}

// queue -> "Codec Converter" -> ["Codec Scaler"] -> "Codec Input" -> codec.
bool ConnectCodecInput(GstBin* pipeline, const ChainConnector& connector, GstElement* queue, GstElement* codec,
                       const CompressorInput& input) {
    GstElement* converter = AddElement(pipeline, "videoconvert", "Codec Converter");
    GstElement* scaler = input.alignment > 1 ? AddElement(pipeline, "videoscale", "Codec Scaler") : nullptr;
    GstElement* filter = AddElement(pipeline, "capsfilter", "Codec Input");
    if (converter == nullptr || filter == nullptr || (input.alignment > 1 && scaler == nullptr)) return false;
    GstCaps* caps = CodecInputCaps(input.format, 0, 0, 1, 1);
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    GstElement* beforeFilter = converter;
    if (scaler != nullptr) {
        g_object_set(scaler, "add-borders", FALSE, nullptr);
        GstPad* pad = gst_element_get_static_pad(scaler, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, OnScalerCaps,
                          new SizeRule{filter, input.format, input.alignment},
                          [](gpointer rule) { delete static_cast<SizeRule*>(rule); });
        gst_object_unref(pad);
        if (!gst_element_link(converter, scaler)) return false;
        beforeFilter = scaler;
    }
    return SUCCEEDED(connector.Connect(queue, converter)) && gst_element_link(beforeFilter, filter) &&
           gst_element_link(filter, codec);
}

bool ConnectCodec(GstBin* pipeline, const ChainConnector& connector, GstElement* queue, GstElement* codec,
                  const CompressorInput& input) {
    if (input.format.empty() && input.alignment <= 1) return SUCCEEDED(connector.Connect(queue, codec));
    return ConnectCodecInput(pipeline, connector, queue, codec, input);
}

// Runs where the branch leaves the tee, when no frame is on its way there: from now on the
// branch gets nothing but the end of stream.
GstPadProbeReturn DetachAndEnd(GstPad* teePad, GstPadProbeInfo*, gpointer branchInput) {
    auto* input = static_cast<GstPad*>(branchInput);
    gst_pad_unlink(teePad, input);
    gst_pad_send_event(input, gst_event_new_eos());
    return GST_PAD_PROBE_REMOVE;
}

bool WaitUntil(const std::function<bool()>& done, GstClockTime deadline) {
    while (!done() && gst_util_get_timestamp() < deadline) g_usleep(kFinishPollStep / GST_USECOND);
    return done();
}

// Waits until the writer has taken the end of stream, or has failed: a writer that failed
// (a full disk) takes nothing more, so the file is as complete as it will be.
bool WaitForEndOfStream(GstElement* sink, GstClockTime deadline) {
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    const auto done = [pad] {
        GST_OBJECT_LOCK(pad);
        const bool ended = GST_PAD_IS_EOS(pad);
        GST_OBJECT_UNLOCK(pad);
        return ended || gst_pad_get_last_flow_return(pad) < GST_FLOW_EOS;
    };
    const bool ended = WaitUntil(done, deadline);
    gst_object_unref(pad);
    return ended;
}

// Lets `frames` frames in all into the branch, and waits until they are in.
bool AdmitFrames(GstPad* input, std::uint64_t frames, GstClockTime deadline) {
    GstElement* queue = gst_pad_get_parent_element(input);
    auto* count = static_cast<BranchCount*>(g_object_get_data(G_OBJECT(queue), kCountKey));
    bool admitted = count == nullptr;
    if (count != nullptr) {
        count->limit.store(frames);
        admitted = WaitUntil([count, frames] { return count->entered.load() >= frames; }, deadline);
    }
    gst_object_unref(queue);
    return admitted;
}

// The queue's input pad, or null without a branch. The caller unrefs.
GstPad* BranchInput(GstBin* pipeline) {
    GstElement* queue = gst_bin_get_by_name(pipeline, kQueueName);
    if (queue == nullptr) return nullptr;
    GstPad* pad = gst_element_get_static_pad(queue, "sink");
    gst_object_unref(queue);
    return pad;
}

}  // namespace

HRESULT RecordingBranch::Build(GstBin* pipeline, GstElement* tee, const std::string& fileName, GstElement* codec,
                               const CompressorInput& input, GrabberBufferCallback counter) {
    if (codec != nullptr) gst_object_ref_sink(codec);
    // Never a device node: removing /dev/full as root would put a plain file in its place.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(fileName, ignored))) {
        std::filesystem::remove(fileName, ignored);
    }

    const ChainConnector connector(pipeline);
    GstElement* mux = AddFileWriter(pipeline, fileName);
    GstElement* queue = mux ? AddQueue(pipeline) : nullptr;
    if (mux == nullptr || queue == nullptr || FAILED(connector.Connect(tee, queue))) {
        if (codec != nullptr) gst_object_unref(codec);
        return RecordMediaError(E_FAIL, "The AVI file writer could not be set up.");
    }

    GstElement* upstream = queue;
    if (codec != nullptr) {
        gst_object_set_name(GST_OBJECT(codec), "Codec");
        const bool added = gst_bin_add(pipeline, codec);
        const bool connected = added && ConnectCodec(pipeline, connector, queue, codec, input);
        gst_object_unref(codec);
        if (!connected) return RecordMediaError(E_FAIL, "The video compressor could not be connected.");
        upstream = codec;
    }

    GstElement* grabber = CreateGrabberElement(GrabberMode::kBuffers, "Grabber Counter");
    if (grabber != nullptr && gst_bin_add(pipeline, grabber)) {
        SetGrabberCallbacks(grabber, std::move(counter));
        if (SUCCEEDED(connector.Connect(upstream, grabber))) connector.Connect(grabber, mux);
    }
    return S_OK;
}

bool RecordingBranch::Recording(GstBin* pipeline) {
    GstPad* input = BranchInput(pipeline);
    const bool linked = input != nullptr && gst_pad_is_linked(input);
    if (input != nullptr) gst_object_unref(input);
    return linked;
}

bool RecordingBranch::Finish(GstBin* pipeline, std::uint64_t frames, GstClockTime timeout) {
    const GstClockTime deadline = gst_util_get_timestamp() + timeout;
    GstPad* input = BranchInput(pipeline);
    GstPad* teePad = input ? gst_pad_get_peer(input) : nullptr;
    GstElement* writer = gst_bin_get_by_name(pipeline, RecordingBranch::kWriterName);
    bool finished = false;
    if (teePad != nullptr && writer != nullptr) {
        // Frames still on their way from the grabber come in; any after them never do.
        AdmitFrames(input, frames, deadline);
        gst_pad_add_probe(teePad, GST_PAD_PROBE_TYPE_IDLE, DetachAndEnd, gst_object_ref(input), gst_object_unref);
        finished = WaitForEndOfStream(writer, deadline);
    }
    if (writer != nullptr) gst_object_unref(writer);
    if (teePad != nullptr) gst_object_unref(teePad);
    if (input != nullptr) gst_object_unref(input);
    return finished;
}

bool RecordingBranch::Present(GstBin* pipeline) {
    GstElement* mux = gst_bin_get_by_name(pipeline, kMuxName);
    if (mux == nullptr) return false;
    gst_object_unref(mux);
    return true;
}

}  // namespace lumora
