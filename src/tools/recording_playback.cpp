#include "tools/recording_playback.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

namespace lumora {

namespace {

constexpr GstClockTime kPrerollTimeout = 5 * GST_SECOND;

GstElement* MakeVideoSink() {
    GstElement* sink = gst_element_factory_make("appsink", "Preview Sink");
    if (!sink) return nullptr;
    GstCaps* caps = gst_caps_from_string("video/x-raw,format=BGRx");
    g_object_set(sink, "caps", caps, "emit-signals", TRUE, "max-buffers", 2, "drop", TRUE, nullptr);
    gst_caps_unref(caps);
    return sink;
}

QImage ImageOf(GstSample* sample) {
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) return {};
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ)) return {};
    const QImage view(map.data, GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                      GST_VIDEO_INFO_PLANE_STRIDE(&info, 0), QImage::Format_RGB32);
    QImage image = view.copy();
    gst_buffer_unmap(buffer, &map);
    return image;
}

}  // namespace

RecordingPlayback::RecordingPlayback(QObject* parent) : QObject(parent) {}

RecordingPlayback::~RecordingPlayback() { Stop(); }

GstFlowReturn RecordingPlayback::OnSample(GstElement* sink, gpointer self) {
    GstSample* sample = gst_app_sink_pull_sample(GST_APP_SINK(sink));
    if (!sample) return GST_FLOW_EOS;
    QImage image = ImageOf(sample);
    gst_sample_unref(sample);
    auto* playback = static_cast<RecordingPlayback*>(self);
    if (!image.isNull()) {
        QMetaObject::invokeMethod(
            playback, [playback, image] { emit playback->frameReady(image); }, Qt::QueuedConnection);
    }
    return GST_FLOW_OK;
}

bool RecordingPlayback::Play(const std::string& path) {
    Stop();
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    GstElement* playbin = uri ? gst_element_factory_make("playbin", "Preview") : nullptr;
    GstElement* videoSink = playbin ? MakeVideoSink() : nullptr;
    GstElement* audioSink = videoSink ? gst_element_factory_make("fakesink", "Preview Sound") : nullptr;
    if (!audioSink) {
        g_free(uri);
        if (videoSink) gst_object_unref(gst_object_ref_sink(videoSink));
        if (playbin) gst_object_unref(gst_object_ref_sink(playbin));
        return false;
    }
    g_object_set(audioSink, "sync", TRUE, nullptr);
    g_object_set(playbin, "uri", uri, "video-sink", videoSink, "audio-sink", audioSink, nullptr);
    g_free(uri);
    g_signal_connect(videoSink, "new-sample", G_CALLBACK(OnSample), this);
    pipeline_ = GST_ELEMENT(gst_object_ref_sink(playbin));
    const bool paused = gst_element_set_state(pipeline_, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE &&
                        gst_element_get_state(pipeline_, nullptr, nullptr, kPrerollTimeout) == GST_STATE_CHANGE_SUCCESS;
    if (!paused || gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        Stop();
        return false;
    }
    return true;
}

void RecordingPlayback::Stop() {
    if (!pipeline_) return;
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    gst_object_unref(pipeline_);
    pipeline_ = nullptr;
}

std::optional<std::int64_t> RecordingPlayback::Duration() const {
    gint64 duration = 0;
    if (!pipeline_ || !gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) || duration <= 0) return {};
    return duration;
}

std::optional<std::int64_t> RecordingPlayback::Position() const {
    gint64 position = 0;
    if (!pipeline_ || !gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position)) return {};
    return position;
}

bool RecordingPlayback::Seek(std::int64_t position) {
    return pipeline_ &&
           gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                                   static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), position);
}

bool RecordingPlayback::Ended() {
    if (!pipeline_) return false;
    GstBus* bus = gst_element_get_bus(pipeline_);
    bool ended = false;
    while (GstMessage* message =
               gst_bus_pop_filtered(bus, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
        ended = true;
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return ended;
}

}  // namespace lumora
