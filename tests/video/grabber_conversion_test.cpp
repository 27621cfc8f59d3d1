// The grabber over decoded video it converts itself: the hand-off's block gets the frame
// bottom-up, the same block goes on the right way up, a refused frame still goes on
// converted, and frames the time stamps skip are counted.
#include "capture_device_gst_fixture.h"
#include "video/grabber_element.h"

#include <gst/app/gstappsrc.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

constexpr int kWidth = 6;
constexpr int kHeight = 4;
constexpr std::size_t kStride = 20;  // 18 bytes of BGR, padded to 4

class GrabberConversion : public test::GstTest {
protected:
    void SetUp() override {
        pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
        source_ = gst_element_factory_make("appsrc", nullptr);
        test::CapsPtr caps = test::Caps("video/x-raw,format=I420,width=6,height=4,framerate=30/1");
        g_object_set(source_, "caps", caps.get(), "format", GST_FORMAT_TIME, nullptr);
        grabber_ = CreateGrabberElement(GrabberMode::kVideoFrames, "Grabber");
        sink_ = gst_element_factory_make("appsink", nullptr);
        g_object_set(sink_, "sync", FALSE, nullptr);
        gst_bin_add_many(GST_BIN(pipeline_.get()), source_, grabber_, sink_, nullptr);
        ASSERT_TRUE(gst_element_link_many(source_, grabber_, sink_, nullptr));
    }
    void TearDown() override { gst_element_set_state(pipeline_.get(), GST_STATE_NULL); }

    // An I420 frame whose rows grow brighter downwards, grey, at `milliseconds`.
    void Push(int milliseconds) {
        GstVideoInfo info;
        gst_video_info_set_format(&info, GST_VIDEO_FORMAT_I420, kWidth, kHeight);
        GstBuffer* buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info), nullptr);
        GstVideoFrame frame;
        ASSERT_TRUE(gst_video_frame_map(&frame, &info, buffer, GST_MAP_WRITE));
        for (int y = 0; y < kHeight; ++y) {
            auto* row = static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)) +
                        y * GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
            std::fill_n(row, kWidth, 60 + 40 * y);
        }
        for (int plane = 1; plane < 3; ++plane) {
            auto* data = static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, plane));
            std::fill_n(data, GST_VIDEO_FRAME_PLANE_STRIDE(&frame, plane) * kHeight / 2, 128);
        }
        gst_video_frame_unmap(&frame);
        GST_BUFFER_PTS(buffer) = milliseconds * GST_MSECOND;
        ASSERT_EQ(gst_app_src_push_buffer(GST_APP_SRC(source_), buffer), GST_FLOW_OK);
    }

    test::PipelinePtr pipeline_;
    GstElement* source_ = nullptr;
    GstElement* grabber_ = nullptr;
    GstElement* sink_ = nullptr;
};

TEST_F(GrabberConversion, TheHandOffBlockIsWhatGoesOnAndARefusedFrameGoesOnConverted) {
    std::vector<unsigned char> block(kStride * kHeight);
    std::vector<unsigned char> seen;
    int blocks = 0;
    SetGrabberCallbacks(
        grabber_,
        [&](double, unsigned char* data, long length) {
            EXPECT_EQ(data, block.data()) << "the callback works in the block it gave";
            seen.assign(data, data + length);
            for (long i = 0; i < length; ++i) data[i] = static_cast<unsigned char>(255 - data[i]);
            return S_OK;
        },
        {},
        [&](std::uint32_t length) -> unsigned char* {
            EXPECT_EQ(length, block.size());
            return blocks++ == 1 ? nullptr : block.data();  // the second frame is refused
        });
    ASSERT_EQ(gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_ASYNC);
    Push(0);
    Push(33);
    Push(133);  // two frames of 30 fps skipped before it
    gst_app_src_end_of_stream(GST_APP_SRC(source_));

    const std::vector<unsigned char> processed = test::PullBytes(sink_), refused = test::PullBytes(sink_),
                                     last = test::PullBytes(sink_);
    ASSERT_EQ(refused.size(), kStride * kHeight);
    // The refused frame is the plain conversion: grey rows, brightest at the bottom.
    EXPECT_LT(refused[0], refused[kStride * 3]);
    EXPECT_EQ(refused[0], refused[1]);
    // The hand-off got it bottom row first, and what it left there went on upright.
    ASSERT_EQ(seen.size(), block.size());
    EXPECT_EQ(seen[0], refused[kStride * 3]);
    for (std::size_t row = 0; row < kHeight; ++row) {
        for (std::size_t i = 0; i < 18; ++i) {
            ASSERT_EQ(processed[row * kStride + i], 255 - refused[row * kStride + i]) << row << " " << i;
        }
    }
    EXPECT_EQ(last, processed);

    const GrabberStatistics statistics = ReadGrabberStatistics(grabber_);
    EXPECT_EQ(statistics.buffers, 3u);
    EXPECT_EQ(statistics.refused, 1u);
    EXPECT_EQ(statistics.missed, 2u);
}

}  // namespace
}  // namespace lumora
