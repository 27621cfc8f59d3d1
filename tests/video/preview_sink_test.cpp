#include "capture_device_gst_fixture.h"
#include "video/preview_sink.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace lumora {
namespace {

using test::PipelinePtr;

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
