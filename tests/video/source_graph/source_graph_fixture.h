// Shared by the source graph tests: a preview window and a main window that count what
// reaches them, waiting with the Qt event loop turning, a watch on every element of a
// pipeline, and a reader for recorded AVI files.
#pragma once

#include "../capture_device_gst_fixture.h"
#include "frames/frame_store.h"
#include "frames/recorded_bytes_counter.h"
#include "platform/app_events.h"
#include "platform/message_recorder.h"
#include "test_support.h"
#include "video/capture_device_opener.h"
#include "video/preview_target.h"
#include "video/source_graph.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace lumora::test {

// Packed 24-bit BGR pixels, top row first.
struct BgrPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// Rows `stride` bytes apart, packed.
inline BgrPicture Packed(const unsigned char* pixels, int width, int height, std::size_t stride) {
    BgrPicture picture{width, height, std::vector<unsigned char>(std::size_t(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        std::memcpy(picture.pixels.data() + std::size_t(y) * width * 3, pixels + y * stride, std::size_t(width) * 3);
    }
    return picture;
}

// The preview window: counts frames and remembers their times, and the first and the last
// frame.
class CountingPreview : public PreviewTarget {
public:
    void PresentFrame(const PreviewFrame& frame) override {
        std::lock_guard lock(mutex_);
        times_.push_back(frame.time);
        last_ = Packed(frame.pixels, frame.width, frame.height, frame.stride);
        if (times_.size() == 1) first_ = last_;
    }
    QSize PreviewSize() const override { return {320, 240}; }
    void SetVideoRect(const QRect& rect) override { rect_ = rect; }
    void SetVideoVisible(bool visible) override { visible_ = visible; }

    int Frames() const { return static_cast<int>(Times().size()); }
    QSize LastSize() const {
        const BgrPicture last = Last();
        return {last.width, last.height};
    }
    std::vector<double> Times() const { return Locked(times_); }
    BgrPicture First() const { return Locked(first_); }
    BgrPicture Last() const { return Locked(last_); }
    QRect Rect() const { return rect_; }
    bool Visible() const { return visible_; }

private:
    template <typename T>
    T Locked(const T& value) const {
        std::lock_guard lock(mutex_);
        return value;
    }

    mutable std::mutex mutex_;
    std::vector<double> times_;
    BgrPicture first_;
    BgrPicture last_;
    QRect rect_;
    bool visible_ = false;
};

// The main window: counts the events the graph and the grabber post.
class EventCounter : public QObject {
public:
    int graphEvents = 0;
    int frameEvents = 0;

protected:
    bool event(QEvent* event) override {
        const bool graph = event->type() == EventType(MSG_GRAPH_EVENT);
        if (!graph && event->type() != EventType(MSG_FRAME_READY)) return QObject::event(event);
        ++(graph ? graphEvents : frameEvents);
        return true;
    }
};

// Weak pointers on a pipeline and every element inside it: after a teardown, none may be left.
class ElementWatch {
public:
    ElementWatch() = default;
    ElementWatch(const ElementWatch&) = delete;
    ElementWatch& operator=(const ElementWatch&) = delete;
    ~ElementWatch() {
        for (gpointer& slot : slots_) {
            if (slot != nullptr) g_object_remove_weak_pointer(G_OBJECT(slot), &slot);
        }
    }

    void Watch(GstElement* pipeline) {
        Add(G_OBJECT(pipeline));
        GstIterator* elements = gst_bin_iterate_recurse(GST_BIN(pipeline));
        GValue item = G_VALUE_INIT;
        while (gst_iterator_next(elements, &item) == GST_ITERATOR_OK) {
            Add(G_OBJECT(g_value_get_object(&item)));
            g_value_reset(&item);
        }
        g_value_unset(&item);
        gst_iterator_free(elements);
    }

    int Alive() const {
        int alive = 0;
        for (gpointer slot : slots_) alive += slot != nullptr;
        return alive;
    }

    // GStreamer may drop its last reference to a stopped pipeline a moment later from its
    // own thread pool (a bin's pending asynchronous state call holds one): waits for that.
    bool WaitReleased() const {
        return WaitUntil([&] { return Alive() == 0; }, std::chrono::seconds(5));
    }

private:
    void Add(GObject* object) {
        slots_.push_back(object);
        g_object_add_weak_pointer(object, &slots_.back());
    }

    std::deque<gpointer> slots_;  // a deque keeps the slots' addresses
};

// What a player finds in a recorded AVI file.
struct AviFacts {
    std::string mediaType;          // of the video stream, as avidemux gives it
    int width = 0;
    int height = 0;
    int frames = 0;                 // buffers of the video stream
    std::uint32_t headerFrames = 0; // dwTotalFrames of the main AVI header
    std::uint16_t bitCount = 0;     // of the stream format's bitmap-info header
    std::uint32_t compression = 0;
    std::vector<unsigned char> firstFrame;  // decoded (raw files: as demuxed), top row first
};

inline std::uint32_t U32At(const std::vector<unsigned char>& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

inline std::size_t FindTag(const std::vector<unsigned char>& bytes, const char* tag) {
    const auto found = std::search(bytes.begin(), bytes.end(), tag, tag + 4);
    return found == bytes.end() ? std::string::npos : static_cast<std::size_t>(found - bytes.begin());
}

// Reads `path` with GStreamer (avidemux, plus `decoder` when given) and its headers by hand.
inline AviFacts ReadAvi(const std::string& path, const char* decoder = nullptr) {
    AviFacts facts;
    const std::string line = "filesrc location=\"" + path + "\" ! avidemux ! " +
                             (decoder ? std::string(decoder) + " ! " : std::string()) +
                             "fakesink name=sink sync=false signal-handoffs=true";
    const PipelinePtr pipeline(gst_parse_launch(line.c_str(), nullptr));
    if (!pipeline) return facts;
    const ElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    const auto handoff = +[](GstElement*, GstBuffer* buffer, GstPad*, AviFacts* facts) {
        GstMapInfo map;
        if (facts->frames++ == 0 && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            facts->firstFrame.assign(map.data, map.data + map.size);
            gst_buffer_unmap(buffer, &map);
        }
    };
    g_signal_connect(sink.get(), "handoff", G_CALLBACK(handoff), &facts);
    RunToEos(pipeline.get(), 20);
    GstPad* pad = gst_element_get_static_pad(sink.get(), "sink");
    if (const CapsPtr caps{gst_pad_get_current_caps(pad)}) {
        const GstStructure* structure = gst_caps_get_structure(caps.get(), 0);
        facts.mediaType = gst_structure_get_name(structure);
        gst_structure_get_int(structure, "width", &facts.width);
        gst_structure_get_int(structure, "height", &facts.height);
    }
    gst_object_unref(pad);

    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    if (const std::size_t avih = FindTag(bytes, "avih"); avih != std::string::npos) {
        facts.headerFrames = U32At(bytes, avih + 8 + 16);
    }
    if (const std::size_t strf = FindTag(bytes, "strf"); strf != std::string::npos) {
        facts.bitCount = static_cast<std::uint16_t>(U32At(bytes, strf + 8 + 14));
        facts.compression = U32At(bytes, strf + 8 + 16);
    }
    return facts;
}

// Runs a gst-launch style pipeline description to its end; false on an error or timeout.
inline bool RunPipeline(const std::string& description) {
    const PipelinePtr pipeline(gst_parse_launch(description.c_str(), nullptr));
    return pipeline && RunToEos(pipeline.get(), 20);
}

// Writes `frames` frames of SMPTE bars, width x height at 30 per second, through `encoder`
// (gst-launch syntax, ending in a multiplexer) into `path`.
inline bool MakeClip(const std::string& path, int width, int height, int frames, const std::string& encoder) {
    return RunPipeline("videotestsrc num-buffers=" + std::to_string(frames) + " pattern=smpte ! video/x-raw,width=" +
                       std::to_string(width) + ",height=" + std::to_string(height) + ",framerate=30/1 ! " + encoder +
                       " ! filesink location=\"" + path + "\"");
}

// A graph wired as the application wires it, with every message captured.
class SourceGraphTest : public GstTest {
protected:
    void SetUp() override { graph_.Initialize(&preview_, &window_); }

    static GstElement* Camera(const char* pattern = "smpte") {
        return OpenCaptureDevice(std::string("pattern:") + pattern);
    }

    // Runs the selected file to its end: true once the main window was told and
    // PollCompletion confirms it; false at once when the graph reports an error.
    bool PlayToEnd(std::chrono::milliseconds timeout) {
        if (!graph_.Run()) return false;
        bool completed = false;
        WaitUntil(
            [&] {
                if (window_.graphEvents > 0 && !completed) completed = graph_.PollCompletion();
                return completed || !graph_.StreamError().empty();
            },
            timeout);
        return completed && graph_.StreamError().empty();
    }

    bool WaitForFrames(std::uint64_t frames, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        return WaitUntil([&] { return graph_.GrabberFrames().buffers >= frames; }, timeout);
    }

    bool Contains(const char* name) const {
        return ElementPtr(gst_bin_get_by_name(GST_BIN(graph_.Pipeline()), name)) != nullptr;
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const MessageRequest& message : messages_.Messages()) texts.push_back(message.text);
        return texts;
    }

    MessageRecorder messages_;
    FrameStore store_;
    RecordedBytesCounter counter_;
    CountingPreview preview_;
    EventCounter window_;
    SourceGraph graph_{store_, counter_};
};

}  // namespace lumora::test
