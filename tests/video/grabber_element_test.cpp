#include "capture_device_gst_fixture.h"
#include "video/grabber_element.h"
#include "video/grabber_frame_layout.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace lumora {
namespace {

using test::PipelinePtr;

// <source> ! <caps> ! grabber ! appsink; a videotestsrc of `buffers` frames by default.
class GrabberElementTest : public test::GstTest {
protected:
    PipelinePtr Pipeline(const char* caps, int buffers, GstElement* source = nullptr) {
        GstElement* pipeline = gst_pipeline_new(nullptr);
        if (source == nullptr) {
            source = gst_element_factory_make("videotestsrc", nullptr);
            g_object_set(source, "num-buffers", buffers, "pattern", 1 /* snow: every row differs */, nullptr);
        }
        GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
        g_object_set(filter, "caps", test::Caps(caps).get(), nullptr);
        grabber_ = CreateGrabberElement(GrabberMode::kVideoFrames, "Grabber");
        sink_ = gst_element_factory_make("appsink", nullptr);
        g_object_set(sink_, "sync", FALSE, "max-buffers", 0u, nullptr);
        gst_bin_add_many(GST_BIN(pipeline), source, filter, grabber_, sink_, nullptr);
        linked_ = gst_element_link_many(source, filter, grabber_, sink_, nullptr);
        return PipelinePtr(GST_ELEMENT(gst_object_ref_sink(pipeline)));
    }

    // The pixels of the next frame as the sink got it.
    std::vector<unsigned char> Pull() { return test::PullBytes(sink_); }

    GstElement* grabber_ = nullptr;
    GstElement* sink_ = nullptr;
    bool linked_ = false;
};

constexpr char kSmallBgr[] = "video/x-raw,format=BGR,width=6,height=4,framerate=30/1";
constexpr std::size_t kRow = 18;
constexpr std::size_t kStride = 20;

// Every callback gets the frame bottom row first and scribbles on that row; only what it
// answers S_OK for (frame 0) is copied back, and a refusal (frame 2) is counted.
TEST_F(GrabberElementTest, OnlyAFrameChangedWithSOkGoesDownstreamChangedAndTheRightWayUp) {
    PipelinePtr pipeline = Pipeline(kSmallBgr, 3);
    ASSERT_TRUE(linked_);
    constexpr HRESULT kAnswers[] = {S_OK, S_FALSE, E_FAIL};
    std::vector<unsigned char> seen[3];  // as each callback got it, before its change
    std::atomic<int> calls{0};
    ZImageBitmapInfoHeader format{};
    int formats = 0;
    SetGrabberCallbacks(
        grabber_,
        [&](double, unsigned char* data, long length) {
            const int n = calls++;
            if (n >= 3) return S_FALSE;
            seen[n].assign(data, data + length);
            std::fill(data, data + kRow, 0xAB);
            return kAnswers[n];
        },
        [&](const ZImageBitmapInfoHeader& f) {
            format = f;
            ++formats;
        });
    ASSERT_EQ(gst_element_set_state(pipeline.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_ASYNC);
    for (std::size_t n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        const std::vector<unsigned char> out = Pull();
        ASSERT_EQ(out.size(), 4 * kStride);
        ASSERT_EQ(seen[n].size(), 4 * kStride);
        // Output row r is the callback's row 3 - r.
        for (std::size_t row = 0; row < 4; ++row) {
            const auto outRow = out.begin() + static_cast<long>(row * kStride);
            if (n == 0 && row == 3) {
                EXPECT_TRUE(std::all_of(outRow, outRow + kRow, [](unsigned char byte) { return byte == 0xAB; }));
            } else {
                EXPECT_TRUE(std::equal(outRow, outRow + kRow, seen[n].begin() + static_cast<long>((3 - row) * kStride)))
                    << row;
            }
        }
    }
    EXPECT_EQ(std::tuple(formats, format.biWidth, format.biHeight, format.biBitCount, format.biSizeImage),
              std::tuple(1, 6, 4, 24, 80u));
    const GrabberStatistics statistics = ReadGrabberStatistics(grabber_);
    EXPECT_EQ(std::tuple(statistics.buffers, statistics.refused), std::tuple(3u, 1u));
}

// A producer that spaces its rows 32 bytes apart (video meta) instead of 20.
TEST_F(GrabberElementTest, RowsAtAProducersOwnStrideAreHandedOverInTheDibLayout) {
    GstElement* source = gst_element_factory_make("appsrc", nullptr);
    g_object_set(source, "caps", test::Caps(kSmallBgr).get(), "format", GST_FORMAT_TIME, nullptr);
    PipelinePtr pipeline = Pipeline(kSmallBgr, 1, source);
    ASSERT_TRUE(linked_);
    std::vector<unsigned char> given;
    SetGrabberCallbacks(grabber_, [&](double, unsigned char* data, long length) {
        given.assign(data, data + length);
        std::fill(data, data + kRow, 0xAB);
        return S_OK;
    });
    constexpr std::size_t kWide = 32;
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, 4 * kWide, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    for (std::size_t row = 0; row < 4; ++row) std::memset(map.data + row * kWide, static_cast<int>(row + 1), kWide);
    gst_buffer_unmap(buffer, &map);
    gsize offsets[GST_VIDEO_MAX_PLANES] = {0};
    gint strides[GST_VIDEO_MAX_PLANES] = {static_cast<gint>(kWide)};
    gst_buffer_add_video_meta_full(buffer, GST_VIDEO_FRAME_FLAG_NONE, GST_VIDEO_FORMAT_BGR, 6, 4, 1, offsets, strides);
    GST_BUFFER_PTS(buffer) = 0;
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    ASSERT_EQ(gst_app_src_push_buffer(GST_APP_SRC(source), buffer), GST_FLOW_OK);

    const std::vector<unsigned char> out = Pull();
    ASSERT_EQ(out.size(), 4 * kWide);
    ASSERT_EQ(given.size(), 4 * kStride);
    for (std::size_t row = 0; row < 4; ++row) EXPECT_EQ(given[row * kStride], 4 - row) << row;
    EXPECT_EQ(out[3 * kWide], 0xAB);      // the callback's first row is the picture's last
    EXPECT_EQ(out[3 * kWide + kRow], 4);  // beyond the pixels: left alone
    EXPECT_EQ(out[0], 1);
}

}  // namespace
}  // namespace lumora
