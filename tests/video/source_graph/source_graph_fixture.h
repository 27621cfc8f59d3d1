// Shared by the source graph tests: a preview window and a main window that count what
// reaches them, waiting with the Qt event loop turning, a watch on every element of a
// pipeline, and a reader for recorded AVI files.
#pragma once

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

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace lumora::test {

// Packed 24-bit BGR pixels, top row first.
struct BgrPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// The preview window: counts frames and remembers their times, and the first and the last
// frame.
class CountingPreview : public PreviewTarget {
public:
    void PresentFrame(const PreviewFrame& frame) override {
        std::lock_guard lock(mutex_);
        width_ = frame.width;
        height_ = frame.height;
        times_.push_back(frame.time);
        last_.width = frame.width;
        last_.height = frame.height;
        last_.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height * 3);
        for (int y = 0; y < frame.height; ++y) {
            std::memcpy(last_.pixels.data() + static_cast<std::size_t>(y) * frame.width * 3,
                        frame.pixels + static_cast<std::size_t>(y) * frame.stride,
                        static_cast<std::size_t>(frame.width) * 3);
        }
        if (times_.size() == 1) first_ = last_;
    }
    QSize PreviewSize() const override { return {320, 240}; }
    void SetVideoRect(const QRect& rect) override { rect_ = rect; }
    void SetVideoVisible(bool visible) override { visible_ = visible; }

    int Frames() const {
        std::lock_guard lock(mutex_);
        return static_cast<int>(times_.size());
    }
    QSize LastSize() const {
        std::lock_guard lock(mutex_);
        return {width_, height_};
    }
    std::vector<double> Times() const {
        std::lock_guard lock(mutex_);
        return times_;
    }
    QRect Rect() const { return rect_; }
    bool Visible() const { return visible_; }
    BgrPicture First() const {
        std::lock_guard lock(mutex_);
        return first_;
    }
    BgrPicture Last() const {
        std::lock_guard lock(mutex_);
        return last_;
    }

private:
    mutable std::mutex mutex_;
    int width_ = 0;
    int height_ = 0;
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
        if (event->type() == EventType(MSG_GRAPH_EVENT)) {
            ++graphEvents;
            return true;
        }
        if (event->type() == EventType(MSG_FRAME_READY)) {
            ++frameEvents;
            return true;
        }
        return QObject::event(event);
    }
};

// Turns the event loop until `done` or the timeout; answers `done()`.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

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

    // The names of the objects still alive, with their reference counts.
    std::string AliveNames() const {
        std::string names;
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (slots_[i] == nullptr) continue;
            names += names_[i] + "(" + std::to_string(G_OBJECT(slots_[i])->ref_count) + ") ";
        }
        return names;
    }

private:
    void Add(GObject* object) {
        names_.emplace_back(GST_OBJECT_NAME(object));
        slots_.push_back(object);
        g_object_add_weak_pointer(object, &slots_.back());
    }

    std::deque<gpointer> slots_;  // a deque keeps the slots' addresses
    std::vector<std::string> names_;
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
    for (std::size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (std::memcmp(bytes.data() + i, tag, 4) == 0) return i;
    }
    return std::string::npos;
}

inline void OnHandoff(GstElement*, GstBuffer* buffer, GstPad*, gpointer data) {
    auto* facts = static_cast<AviFacts*>(data);
    if (facts->frames++ == 0) {
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            facts->firstFrame.assign(map.data, map.data + map.size);
            gst_buffer_unmap(buffer, &map);
        }
    }
}

// Reads `path` with GStreamer (avidemux, plus `decoder` when given) and its headers by hand.
inline AviFacts ReadAvi(const std::string& path, const char* decoder = nullptr) {
    AviFacts facts;
    const std::string line = "filesrc location=\"" + path + "\" ! avidemux ! " +
                             (decoder ? std::string(decoder) + " ! " : std::string()) +
                             "fakesink name=sink sync=false signal-handoffs=true";
    GstElement* pipeline = gst_parse_launch(line.c_str(), nullptr);
    if (pipeline == nullptr) return facts;
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    g_signal_connect(sink, "handoff", G_CALLBACK(OnHandoff), &facts);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(bus, 20 * GST_SECOND,
                                                 static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (end != nullptr) gst_message_unref(end);
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        const GstStructure* structure = gst_caps_get_structure(caps, 0);
        facts.mediaType = gst_structure_get_name(structure);
        gst_structure_get_int(structure, "width", &facts.width);
        gst_structure_get_int(structure, "height", &facts.height);
        gst_caps_unref(caps);
    }
    gst_object_unref(pad);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(bus);
    gst_object_unref(sink);
    gst_object_unref(pipeline);

    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    if (const std::size_t avih = FindTag(bytes, "avih"); avih != std::string::npos) {
        facts.headerFrames = U32At(bytes, avih + 8 + 16);
    }
    if (const std::size_t strf = FindTag(bytes, "strf"); strf != std::string::npos) {
        std::memcpy(&facts.bitCount, bytes.data() + strf + 8 + 14, 2);
        facts.compression = U32At(bytes, strf + 8 + 16);
    }
    return facts;
}

// What ffprobe reads from a recording, when ffprobe is installed (package ffmpeg).
struct ProbeFacts {
    int width = 0;
    int height = 0;
    int frames = 0;
};

inline std::optional<ProbeFacts> Ffprobe(const std::string& path) {
    if (std::system("command -v ffprobe >/dev/null 2>&1") != 0) return std::nullopt;
    const std::string command = "ffprobe -v error -count_frames -select_streams v:0 "
                                "-show_entries stream=width,height,nb_read_frames -of csv=p=0 '" + path + "'";
    std::FILE* output = popen(command.c_str(), "r");
    if (output == nullptr) return std::nullopt;
    ProbeFacts facts;
    const int read = std::fscanf(output, "%d,%d,%d", &facts.width, &facts.height, &facts.frames);
    pclose(output);
    return read == 3 ? std::optional<ProbeFacts>(facts) : ProbeFacts{};
}

// Runs a gst-launch style pipeline description to its end; false on an error or timeout.
inline bool RunPipeline(const std::string& description) {
    GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
    if (pipeline == nullptr) return false;
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(bus, 20 * GST_SECOND,
                                                 static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ended = end != nullptr && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    if (end != nullptr) gst_message_unref(end);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(bus);
    gst_object_unref(pipeline);
    return ended;
}

// Writes `frames` frames of SMPTE bars, width x height at 30 per second, through `encoder`
// (gst-launch syntax, ending in a multiplexer) into `path`.
inline bool MakeClip(const std::string& path, int width, int height, int frames, const std::string& encoder) {
    return RunPipeline("videotestsrc num-buffers=" + std::to_string(frames) + " pattern=smpte ! video/x-raw,width=" +
                       std::to_string(width) + ",height=" + std::to_string(height) + ",framerate=30/1 ! " + encoder +
                       " ! filesink location=\"" + path + "\"");
}

// A graph wired as the application wires it, with every message captured.
class SourceGraphTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }
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
        GstElement* element = gst_bin_get_by_name(GST_BIN(graph_.Pipeline()), name);
        if (element != nullptr) gst_object_unref(element);
        return element != nullptr;
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
