// PipeWireConsumer: a GStreamer pipewiresrc linked to the "lumora-capture" node, the way a
// browser or chat program takes the camera, keeping every frame it receives (with the
// caps it came in) for the test to look at.
#pragma once

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace lumora::test {

struct ConsumedFrame {
    std::chrono::steady_clock::time_point arrived;
    std::string format;
    int width = 0, height = 0;
    std::vector<std::uint8_t> bytes;
};

class PipeWireConsumer {
public:
    // `format`: the layout the consumer asks for ("YUY2", "I420", "NV12", "BGRx").
    explicit PipeWireConsumer(const std::string& format = "YUY2") {
        gst_init(nullptr, nullptr);
        const std::string description = "pipewiresrc target-object=lumora-capture ! video/x-raw,format=" + format +
                                        " ! appsink name=sink sync=false max-buffers=4 drop=false";
        pipeline_ = gst_parse_launch(description.c_str(), nullptr);
        if (pipeline_ == nullptr) return;
        GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline_), "sink");
        GstAppSinkCallbacks callbacks{};
        callbacks.new_sample = &PipeWireConsumer::OnSample;
        gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
        gst_object_unref(sink);
        gst_element_set_state(pipeline_, GST_STATE_PLAYING);
    }
    ~PipeWireConsumer() {
        if (pipeline_ == nullptr) return;
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        gst_object_unref(pipeline_);
    }
    PipeWireConsumer(const PipeWireConsumer&) = delete;
    PipeWireConsumer& operator=(const PipeWireConsumer&) = delete;

    // True once `count` frames have come, false after `timeout`.
    bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, timeout, [&] { return frames_.size() >= count; });
    }
    std::vector<ConsumedFrame> Frames() {
        std::lock_guard lock(mutex_);
        return frames_;
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return frames_.size();
    }

private:
    static GstFlowReturn OnSample(GstAppSink* sink, gpointer data) {
        auto* self = static_cast<PipeWireConsumer*>(data);
        GstSample* sample = gst_app_sink_pull_sample(sink);
        if (sample == nullptr) return GST_FLOW_OK;
        ConsumedFrame frame{std::chrono::steady_clock::now(), {}, 0, 0, {}};
        GstVideoInfo info;
        if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) {
            frame.format = gst_video_format_to_string(GST_VIDEO_INFO_FORMAT(&info));
            frame.width = GST_VIDEO_INFO_WIDTH(&info);
            frame.height = GST_VIDEO_INFO_HEIGHT(&info);
        }
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        frame.bytes.resize(gst_buffer_get_size(buffer));
        gst_buffer_extract(buffer, 0, frame.bytes.data(), frame.bytes.size());
        gst_sample_unref(sample);
        {
            std::lock_guard lock(self->mutex_);
            if (self->frames_.size() < kMaxFrames) self->frames_.push_back(std::move(frame));
        }
        self->arrived_.notify_all();
        return GST_FLOW_OK;
    }

    static constexpr std::size_t kMaxFrames = 400;
    GstElement* pipeline_ = nullptr;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<ConsumedFrame> frames_;
};

}  // namespace lumora::test
