// A test camera's frames, handed to the grabber callback the way the pipeline's grabber
// hands them over, reach a packets device byte for byte.
#include "capture_device_gst_fixture.h"
#include "platform/message_recorder.h"
#include "test_support.h"
#include "video/capture_device_list.h"
#include "video/frame_event_handler.h"
#include "video/frame_packet.h"
#include "video/main_grabber_callback.h"

#include <QCoreApplication>
#include <gst/app/gstappsink.h>

#include <cstring>

namespace lumora {
namespace {

using test::Adopt;
using test::PipelinePtr;

class TestCameraPackets : public test::GstTest {};

// Turns a top-down frame into the bottom-up VideoFrame layout.
std::vector<unsigned char> BottomUp(const unsigned char* topDown, int stride, int height) {
    std::vector<unsigned char> frame(static_cast<std::size_t>(stride) * height);
    for (int row = 0; row < height; ++row) {
        std::memcpy(frame.data() + static_cast<std::size_t>(row) * stride,
                    topDown + static_cast<std::size_t>(height - 1 - row) * stride, stride);
    }
    return frame;
}

TEST_F(TestCameraPackets, EveryFrameOfATestCameraBecomesOneByteExactPacket) {
    test::TempDir dir;
    const std::string packets = dir.file("vcam");
    test::WriteFileText(packets, "");
    CaptureDeviceList devices([&] {
        return std::vector<CaptureDeviceInfo>{{"Camera", "pattern:smpte"},
                                              {"Lumora Capture", "packets:" + packets}};
    });
    ASSERT_TRUE(devices.EnumerateCaptureDevices());
    VirtualCameraLink link;
    ASSERT_TRUE(link.Open(*devices.FindDevicePathByName("Lumora Capture")));
    FrameStore store;
    FrameEventHandler handler(store, link);
    store.SetTarget(&handler);
    ZImageBitmapInfoHeader format{};
    format.biSize = 40;
    format.biWidth = 640;
    format.biHeight = 480;
    format.biBitCount = 24;
    store.SetFormat(format);
    MainGrabberCallback grabber(store);
    MessageRecorder messages;

    PipelinePtr pipeline(gst_pipeline_new("packets"));
    GstElement* camera = devices.OpenCaptureFilter(0);
    ASSERT_NE(camera, nullptr);
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    GstCaps* caps = gst_caps_from_string("video/x-raw,format=BGR,width=640,height=480");
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline.get()), camera, convert, filter, sink, nullptr);
    ASSERT_TRUE(gst_element_link_many(camera, convert, filter, sink, nullptr));
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);

    constexpr int kFrames = 5;
    std::vector<std::vector<unsigned char>> sent;
    for (int i = 0; i < kFrames; ++i) {
        GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND);
        ASSERT_NE(sample, nullptr);
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        ASSERT_TRUE(gst_buffer_map(buffer, &map, GST_MAP_READ));
        ASSERT_EQ(map.size, 921600u) << "640 BGR pixels are 1920 bytes, already a multiple of 4";
        auto frame = BottomUp(map.data, 1920, 480);
        gst_buffer_unmap(buffer, &map);
        gst_sample_unref(sample);
        ASSERT_EQ(grabber.BufferCB(i / 30.0, frame.data(), static_cast<long>(frame.size())), S_FALSE)
            << "stored; no effect is on";
        sent.push_back(std::move(frame));
        QCoreApplication::processEvents();
    }
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);

    const auto written = test::ReadFileBytes(packets);
    ASSERT_EQ(written.size(), kFrames * 921640u);
    for (int i = 0; i < kFrames; ++i) {
        const unsigned char* packet = written.data() + static_cast<std::size_t>(i) * 921640;
        std::uint32_t payload, width;
        std::memcpy(&payload, packet + 4, 4);
        std::memcpy(&width, packet + 20, 4);
        EXPECT_EQ(payload, 921600u);
        EXPECT_EQ(width, 640u);
        EXPECT_TRUE(FramePacket::Parse(packet, 921640));
        EXPECT_EQ(std::memcmp(packet + 40, sent[i].data(), 921600), 0) << "packet " << i;
    }
    EXPECT_TRUE(messages.Messages().empty());
}

}  // namespace
}  // namespace lumora
