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

constexpr GstClockTime kThirtyFpsNs = 333'333 * 100;

struct Frame {
    std::string format;
    int width = 0;
    int height = 0;
    int rateNumerator = 0;
    int rateDenominator = 0;
    GstClockTime pts = GST_CLOCK_TIME_NONE;
    GstClockTime duration = GST_CLOCK_TIME_NONE;
    bool keyFrame = false;
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
    while (static_cast<int>(frames.size()) < count) {
        GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND);
        if (sample == nullptr) break;
        Frame frame;
        GstVideoInfo info;
        if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) {
            frame.format = gst_video_format_to_string(GST_VIDEO_INFO_FORMAT(&info));
            frame.width = GST_VIDEO_INFO_WIDTH(&info);
            frame.height = GST_VIDEO_INFO_HEIGHT(&info);
            frame.rateNumerator = GST_VIDEO_INFO_FPS_N(&info);
            frame.rateDenominator = GST_VIDEO_INFO_FPS_D(&info);
        }
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        frame.pts = GST_BUFFER_PTS(buffer);
        frame.duration = GST_BUFFER_DURATION(buffer);
        frame.keyFrame = !GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT);
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            frame.bytes.assign(map.data, map.data + map.size);
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
        frames.push_back(std::move(frame));
    }
    EXPECT_TRUE(gst_app_sink_is_eos(GST_APP_SINK(sink)) ||
                gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND) == nullptr);
    return frames;
}

ElementPtr NewSource() {
    HRESULT hr = E_FAIL;
    ElementPtr source = test::Adopt(CreatePushSource(&hr, "Source"));
    EXPECT_EQ(hr, S_OK);
    return source;
}

std::vector<std::string> OfferedCaps(GstElement* source) {
    GstPad* pad = gst_element_get_static_pad(source, "src");
    GstCaps* caps = gst_pad_query_caps(pad, nullptr);
    std::vector<std::string> offered;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        gchar* text = gst_structure_to_string(gst_caps_get_structure(caps, i));
        offered.emplace_back(text);
        g_free(text);
    }
    gst_caps_unref(caps);
    gst_object_unref(pad);
    return offered;
}

// Frames of a desktop without a display: the source graph's still-source test.
TEST_F(PushSourceFilterTest, OffersThePinsFormatsAtTheOutputSizeAndRate) {
    ScopedEnv noDisplay("DISPLAY", nullptr);
    ElementPtr source = NewSource();
    ASSERT_TRUE(source);
    EXPECT_STREQ(GST_OBJECT_NAME(source.get()), "Source");
    const PushSourcePin::Settings settings = PushSourcePinOf(source.get())->CurrentSettings();
    EXPECT_EQ(settings.frameLength, 2'000'000);
    const ZImageRect screen = settings.screenRect;
    EXPECT_EQ(std::vector<int>({screen.left, screen.top, screen.right, screen.bottom}), std::vector<int>({0, 0, 640, 480}))
        << "without a display the screen is taken to be 640 x 480";

    const std::string fiveFps =
        ", width=(int)640, height=(int)480, framerate=(fraction)5/1, pixel-aspect-ratio=(fraction)1/1";
    EXPECT_EQ(OfferedCaps(source.get()),
              (std::vector<std::string>{"video/x-raw, format=(string)BGRx" + fiveFps + ";",
                                        "video/x-raw, format=(string)BGR" + fiveFps + ";",
                                        "video/x-raw, format=(string)RGB16" + fiveFps + ";",
                                        "video/x-raw, format=(string)RGB15" + fiveFps + ";"}));

    ASSERT_TRUE(SetDesktopSource(source.get(), 0, 0, 800, 600, 320, 240, 30));
    const std::vector<std::string> offered = OfferedCaps(source.get());
    ASSERT_EQ(offered.size(), 4u);
    EXPECT_NE(offered[1].find("width=(int)320, height=(int)240, framerate=(fraction)10000000/333333"),
              std::string::npos)
        << offered[1];

    // Only our own element is configured.
    ElementPtr other = test::Adopt(gst_element_factory_make("fakesrc", nullptr));
    EXPECT_FALSE(IsPushSource(other.get()));
    EXPECT_FALSE(SetDesktopSource(other.get(), 0, 0, 640, 480, 640, 480, 5));
    EXPECT_FALSE(SetImageSource(other.get(), test::TestDataPath("messi5.jpg").c_str(), 640, 480, 5));
    EXPECT_EQ(PushSourcePinOf(other.get()), nullptr);

    test::TempDir dir;
    EXPECT_FALSE(SetImageSource(source.get(), dir.file("gone.jpg").c_str(), 640, 480, 30));
}

TEST_F(PushSourceFilterTest, ImageSourceDeliversTheSameUprightPictureEveryThirtiethOfASecond) {
    const std::string path = test::TestDataPath("messi5.jpg");
    ElementPtr source = NewSource();
    ASSERT_TRUE(SetImageSource(source.get(), path.c_str(), 320, 240, 30));

    const std::unique_ptr<Bitmap> picture = ZImage_LoadImageToBitmapSize(path.c_str(), 320, 240);
    ASSERT_TRUE(picture);
    std::vector<std::uint8_t> upright;
    for (std::int32_t y = picture->height() - 1; y >= 0; --y) {
        upright.insert(upright.end(), picture->row(y), picture->row(y) + picture->stride());
    }

    const std::vector<Frame> frames = Pull(std::move(source), "video/x-raw,format=BGR", 10);
    ASSERT_EQ(frames.size(), 10u);
    for (std::size_t n = 0; n < frames.size(); ++n) {
        SCOPED_TRACE(n);
        const Frame& frame = frames[n];
        EXPECT_EQ(frame.format, "BGR");
        EXPECT_EQ(frame.width, 320);
        EXPECT_EQ(frame.height, 240);
        EXPECT_EQ(frame.rateNumerator, 10'000'000);
        EXPECT_EQ(frame.rateDenominator, 333'333);
        EXPECT_EQ(frame.pts, n * kThirtyFpsNs);
        EXPECT_EQ(frame.duration, kThirtyFpsNs);
        EXPECT_TRUE(frame.keyFrame);
        ASSERT_EQ(frame.bytes.size(), 320u * 240 * 3);
        EXPECT_TRUE(frame.bytes == upright);
    }
}

TEST_F(PushSourceFilterTest, DesktopUnderXvfbScalesTheWholeRectangleToTheOutputSize) {
    if (!test::XvfbServer::Installed()) GTEST_SKIP() << "no Xvfb";
    test::XvfbServer server("1280x1024x24");
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ScopedEnv display("DISPLAY", server.display().c_str());

    // The screen is measured when the source is made.
    ElementPtr source = NewSource();
    const ZImageRect screen = PushSourcePinOf(source.get())->CurrentSettings().screenRect;
    EXPECT_EQ(std::vector<int>({screen.left, screen.top, screen.right, screen.bottom}),
              std::vector<int>({0, 0, 1280, 1024}));

    // The white root window, every pixel of it, in 24 bits and in 5-6-5 (copied at 24 and packed).
    const struct {
        const char* caps;
        std::size_t bytes;
    } formats[] = {{"video/x-raw,format=BGR", 320u * 240 * 3}, {"video/x-raw,format=RGB16", 320u * 240 * 2}};
    for (const auto& f : formats) {
        SCOPED_TRACE(f.caps);
        ElementPtr desktop = NewSource();
        ASSERT_TRUE(SetDesktopSource(desktop.get(), 0, 0, 1280, 1024, 320, 240, 30));
        const std::vector<Frame> frames = Pull(std::move(desktop), f.caps, 2);
        ASSERT_EQ(frames.size(), 2u);
        for (const Frame& frame : frames) {
            EXPECT_EQ(frame.width, 320);
            EXPECT_EQ(frame.height, 240);
            ASSERT_EQ(frame.bytes.size(), f.bytes);
            EXPECT_TRUE(frame.bytes == std::vector<std::uint8_t>(f.bytes, 0xFF));
        }
    }
}

}  // namespace
}  // namespace lumora
