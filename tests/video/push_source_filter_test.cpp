#include "capture_device_gst_fixture.h"
#include "test_support.h"
#include "video/push_source_filter.h"
#include "video/push_source_pin.h"
#include "test_environment.h"

#include <lumora/zimage.h>

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumora {
namespace {

using test::ElementPtr;
using test::ScopedEnv;
using PushSourceFilterTest = test::GstTest;

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// source ! capsfilter caps=<caps> ! appsink, `count` frames as fast as they come.
std::vector<Frame> Pull(ElementPtr source, const char* caps, int count) {
    test::PipelinePtr pipeline(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
    GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    g_object_set(filter, "caps", test::Caps(caps).get(), nullptr);
    g_object_set(sink, "sync", FALSE, nullptr);
    g_object_set(source.get(), "num-buffers", count, nullptr);
    gst_bin_add_many(GST_BIN(pipeline.get()), GST_ELEMENT(gst_object_ref(source.get())), filter, sink, nullptr);
    EXPECT_TRUE(gst_element_link_many(source.get(), filter, sink, nullptr));
    EXPECT_NE(gst_element_set_state(pipeline.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    std::vector<Frame> frames;
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND)) {
        Frame frame;
        GstVideoInfo info;
        if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) {
            frame.width = GST_VIDEO_INFO_WIDTH(&info);
            frame.height = GST_VIDEO_INFO_HEIGHT(&info);
        }
        GstMapInfo map;
        if (gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ)) {
            frame.bytes.assign(map.data, map.data + map.size);
            gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
        }
        gst_sample_unref(sample);
        frames.push_back(std::move(frame));
    }
    return frames;
}

ElementPtr NewSource() {
    HRESULT hr = E_FAIL;
    ElementPtr source = test::Adopt(CreatePushSource(&hr, "Source"));
    EXPECT_EQ(hr, S_OK);
    return source;
}

std::vector<int> ScreenOf(GstElement* source) {
    const ZImageRect screen = PushSourcePinOf(source)->CurrentSettings().screenRect;
    return {screen.left, screen.top, screen.right, screen.bottom};
}

// The pictures and the frame times through the graph: the source graph's still-source test.
TEST_F(PushSourceFilterTest, OnlyItsOwnElementIsConfiguredAndAScreenIsAssumedWithoutADisplay) {
    ElementPtr other = test::Adopt(gst_element_factory_make("fakesrc", nullptr));
    EXPECT_FALSE(IsPushSource(other.get()));
    EXPECT_FALSE(SetDesktopSource(other.get(), 0, 0, 640, 480, 640, 480, 5));
    EXPECT_FALSE(SetImageSource(other.get(), test::TestDataPath("messi5.jpg").c_str(), 640, 480, 5));
    EXPECT_EQ(PushSourcePinOf(other.get()), nullptr);

    ScopedEnv noDisplay("DISPLAY", nullptr);
    ElementPtr source = NewSource();
    ASSERT_TRUE(source);
    EXPECT_STREQ(GST_OBJECT_NAME(source.get()), "Source");
    EXPECT_EQ(ScreenOf(source.get()), std::vector<int>({0, 0, 640, 480}));
    test::TempDir dir;
    EXPECT_FALSE(SetImageSource(source.get(), dir.file("gone.jpg").c_str(), 640, 480, 30));
}

TEST_F(PushSourceFilterTest, DesktopUnderXvfbScalesTheWholeRectangleToTheOutputSize) {
    if (!test::XvfbServer::Installed()) GTEST_SKIP() << "no Xvfb";
    test::XvfbServer server("1280x1024x24");
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ScopedEnv display("DISPLAY", server.display().c_str());

    ElementPtr desktop = NewSource();  // the screen is measured when the source is made
    EXPECT_EQ(ScreenOf(desktop.get()), std::vector<int>({0, 0, 1280, 1024}));
    // The white root window, every pixel of it.
    ASSERT_TRUE(SetDesktopSource(desktop.get(), 0, 0, 1280, 1024, 320, 240, 30));
    const std::vector<Frame> frames = Pull(std::move(desktop), "video/x-raw,format=BGR", 2);
    ASSERT_EQ(frames.size(), 2u);
    for (const Frame& frame : frames) {
        EXPECT_EQ(std::pair(frame.width, frame.height), std::pair(320, 240));
        EXPECT_TRUE(frame.bytes == std::vector<std::uint8_t>(320u * 240 * 3, 0xFF));
    }
}

}  // namespace
}  // namespace lumora
