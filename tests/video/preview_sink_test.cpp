#include "capture_device_gst_fixture.h"
#include "video/preview_sink.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace lumora {
namespace {

using test::PipelinePtr;

class RecordingTarget : public PreviewTarget {
public:
    void PresentFrame(const PreviewFrame& frame) override {
        std::lock_guard lock(mutex);
        frames.push_back(frame);
        firstBytes.push_back(frame.pixels[0]);
    }
    QSize PreviewSize() const override { return {}; }
    void SetVideoRect(const QRect&) override {}
    void SetVideoVisible(bool) override {}

    std::mutex mutex;
    std::vector<PreviewFrame> frames;  // pixels only valid during the call
    std::vector<unsigned char> firstBytes;
};

class PreviewSinkTest : public test::GstTest {
protected:
    PipelinePtr Pipeline(const char* caps, int buffers) {
        GstElement* pipeline = gst_pipeline_new(nullptr);
        GstElement* source = gst_element_factory_make("videotestsrc", nullptr);
        g_object_set(source, "num-buffers", buffers, "pattern", 2 /* black */, nullptr);
        GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
        test::CapsPtr wanted = test::Caps(caps);
        g_object_set(filter, "caps", wanted.get(), nullptr);
        sink_ = CreatePreviewSink("Video Renderer");
        g_object_set(sink_, "sync", FALSE, nullptr);
        gst_bin_add_many(GST_BIN(pipeline), source, filter, sink_, nullptr);
        linked_ = gst_element_link_many(source, filter, sink_, nullptr);
        return PipelinePtr(GST_ELEMENT(gst_object_ref_sink(pipeline)));
    }

    GstElement* sink_ = nullptr;
    bool linked_ = false;
};

TEST_F(PreviewSinkTest, HandsEveryFrameTopDownWithItsStrideAndTime) {
    PipelinePtr pipeline = Pipeline("video/x-raw,format=BGR,width=6,height=4,framerate=10/1", 3);
    ASSERT_TRUE(linked_);
    RecordingTarget target;
    ASSERT_TRUE(SetPreviewTarget(sink_, &target));
    ASSERT_TRUE(test::RunToEos(pipeline.get()));
    ASSERT_EQ(target.frames.size(), 3u);
    EXPECT_EQ(target.frames[0].width, 6);
    EXPECT_EQ(target.frames[0].height, 4);
    EXPECT_EQ(target.frames[0].stride, 20u);
    EXPECT_DOUBLE_EQ(target.frames[0].time, 0.0);
    EXPECT_DOUBLE_EQ(target.frames[2].time, 0.2);
    EXPECT_EQ(target.firstBytes[0], 0);
    EXPECT_EQ(PreviewFramesRendered(sink_), 3u);
}

TEST_F(PreviewSinkTest, WithoutATargetFramesAreRenderedAndDropped) {
    PipelinePtr pipeline = Pipeline("video/x-raw,format=BGR,width=6,height=4", 2);
    RecordingTarget target;
    SetPreviewTarget(sink_, &target);
    SetPreviewTarget(sink_, nullptr);
    ASSERT_TRUE(test::RunToEos(pipeline.get()));
    EXPECT_TRUE(target.frames.empty());
    EXPECT_EQ(PreviewFramesRendered(sink_), 2u);
}

TEST_F(PreviewSinkTest, TakesOnlyBgrAndSendsNoQualityEvents) {
    PipelinePtr pipeline = Pipeline("video/x-raw,format=I420,width=6,height=4", 1);
    EXPECT_FALSE(linked_);
    gboolean qos = TRUE;
    gint64 lateness = 0;
    g_object_get(sink_, "qos", &qos, "max-lateness", &lateness, nullptr);
    EXPECT_FALSE(qos);
    EXPECT_EQ(lateness, -1);
    EXPECT_FALSE(SetPreviewTarget(pipeline.get(), nullptr));
}

}  // namespace
}  // namespace lumora
