// The grabber between a source and an appsink: every callback gets the frame bottom row
// first, only a frame changed with S_OK goes on changed (the right way up), a producer's own
// row stride becomes the DIB layout, decoded video it converts itself (of any row layout)
// goes on converted, or as a gap while nothing reads it, and frames the time stamps skip
// are counted.
#include "capture_device_gst_fixture.h"
#include "video/grabber_element.h"
#include "video/grabber_frame_layout.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

namespace lumora {
namespace {

constexpr char kSmallBgr[] = "video/x-raw,format=BGR,width=6,height=4,framerate=30/1";
constexpr std::size_t kRow = 18;
constexpr std::size_t kStride = 20;

// <source> ! capsfilter ! grabber ! appsink: the source an appsrc, or with `buffers` a
// videotestsrc of that many frames of snow (every row differs).
class GrabberElementTest : public test::GstTest {
protected:
    void Build(const char* caps, int buffers = 0) {
        pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
        source_ = gst_element_factory_make(buffers > 0 ? "videotestsrc" : "appsrc", nullptr);
        if (buffers > 0) g_object_set(source_, "num-buffers", buffers, "pattern", 1, nullptr);
        if (buffers == 0) g_object_set(source_, "caps", test::Caps(caps).get(), "format", GST_FORMAT_TIME, nullptr);
        GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
        g_object_set(filter, "caps", test::Caps(caps).get(), nullptr);
        grabber_ = CreateGrabberElement(GrabberMode::kVideoFrames, "Grabber");
        sink_ = gst_element_factory_make("appsink", nullptr);
        g_object_set(sink_, "sync", FALSE, "max-buffers", 0u, nullptr);
        gst_bin_add_many(GST_BIN(pipeline_.get()), source_, filter, grabber_, sink_, nullptr);
        ASSERT_TRUE(gst_element_link_many(source_, filter, grabber_, sink_, nullptr));
    }

    void Push(GstBuffer* buffer, int milliseconds) {
        GST_BUFFER_PTS(buffer) = milliseconds * GST_MSECOND;
        ASSERT_EQ(gst_app_src_push_buffer(GST_APP_SRC(source_), buffer), GST_FLOW_OK);
    }

    // An I420 frame whose rows grow brighter downwards, grey; `padded`, its rows and planes
    // spread out as a decoder's buffers may be, and said so in its video meta.
    static GstBuffer* GreyRamp(bool padded = false) {
        GstVideoInfo info;
        gst_video_info_set_format(&info, GST_VIDEO_FORMAT_I420, 6, 4);
        if (padded) {
            for (gint& stride : info.stride) stride *= 2;
            info.offset[1] = 64;
            info.offset[2] = 88;
            info.size = 112;
        }
        GstBuffer* buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info), nullptr);
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_WRITE);
        std::memset(map.data, 128, map.size);
        for (int y = 0; y < 4; ++y) std::memset(map.data + y * GST_VIDEO_INFO_PLANE_STRIDE(&info, 0), 60 + 40 * y, 6);
        gst_buffer_unmap(buffer, &map);
        if (padded) {
            gst_buffer_add_video_meta_full(buffer, GST_VIDEO_FRAME_FLAG_NONE, GST_VIDEO_FORMAT_I420, 6, 4, 3,
                                           info.offset, info.stride);
        }
        return buffer;
    }

    test::PipelinePtr pipeline_;
    GstElement* source_ = nullptr;
    GstElement* grabber_ = nullptr;
    GstElement* sink_ = nullptr;
};

// Each callback scribbles on its first row; only what it answers S_OK for (frame 0) is
// copied back, and a refusal (frame 2) is counted.
TEST_F(GrabberElementTest, OnlyAFrameChangedWithSOkGoesDownstreamChangedAndTheRightWayUp) {
    Build(kSmallBgr, 3);
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
    ASSERT_EQ(gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_ASYNC);
    for (std::size_t n = 0; n < 3; ++n) {
        const std::vector<unsigned char> out = test::PullBytes(sink_);
        ASSERT_EQ(std::pair(out.size(), seen[n].size()), std::pair(4 * kStride, 4 * kStride)) << n;
        // Output row r is the callback's row 3 - r.
        for (std::size_t row = 0; row < 4; ++row) {
            const auto outRow = out.begin() + static_cast<long>(row * kStride);
            if (n == 0 && row == 3) {
                EXPECT_TRUE(std::all_of(outRow, outRow + kRow, [](unsigned char byte) { return byte == 0xAB; }));
            } else {
                EXPECT_TRUE(std::equal(outRow, outRow + kRow, seen[n].begin() + static_cast<long>((3 - row) * kStride)))
                    << n << " " << row;
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
    Build(kSmallBgr);
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
    gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
    Push(buffer, 0);

    const std::vector<unsigned char> out = test::PullBytes(sink_);
    ASSERT_EQ(out.size(), 4 * kWide);
    ASSERT_EQ(given.size(), 4 * kStride);
    for (std::size_t row = 0; row < 4; ++row) EXPECT_EQ(given[row * kStride], 4 - row) << row;
    // The callback's first row is the picture's last; beyond the pixels is left alone.
    EXPECT_EQ(std::tuple(out[3 * kWide], out[3 * kWide + kRow], out[0]), std::tuple(0xAB, 4, 1));
}

// The hand-off's block gets the frame bottom-up and the same block goes on the right way
// up; a refused block still lets the frame go on converted.
TEST_F(GrabberElementTest, ConvertedVideoGoesOnFromTheHandOffBlockAndSkippedFramesAreCounted) {
    Build("video/x-raw,format=I420,width=6,height=4,framerate=30/1");
    std::vector<unsigned char> block(kStride * 4);
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
    Push(GreyRamp(), 0);
    Push(GreyRamp(), 33);
    Push(GreyRamp(true), 133);  // two frames of 30 fps skipped before it

    const std::vector<unsigned char> processed = test::PullBytes(sink_), refused = test::PullBytes(sink_),
                                     last = test::PullBytes(sink_);
    // While nothing reads what the grabber passes on, a frame handed off goes on as a gap.
    SetGrabberOutputRead(grabber_, false);
    Push(GreyRamp(), 166);
    gst_app_src_end_of_stream(GST_APP_SRC(source_));
    const std::unique_ptr<GstSample, void (*)(GstSample*)> unread(gst_app_sink_pull_sample(GST_APP_SINK(sink_)),
                                                                  gst_sample_unref);
    ASSERT_TRUE(unread && GST_BUFFER_FLAG_IS_SET(gst_sample_get_buffer(unread.get()), GST_BUFFER_FLAG_GAP));

    ASSERT_EQ(std::tuple(processed.size(), refused.size(), last.size()),
              std::tuple(kStride * 4, kStride * 4, kStride * 4));
    // The refused frame is the plain conversion: grey rows, brightest at the bottom.
    EXPECT_LT(refused[0], refused[kStride * 3]);
    EXPECT_EQ(refused[0], refused[1]);
    // The hand-off got it bottom row first, and what it left there went on upright.
    ASSERT_EQ(seen.size(), block.size());
    EXPECT_EQ(seen[0], refused[kStride * 3]);
    for (std::size_t row = 0; row < 4; ++row) {
        for (std::size_t i = 0; i < kRow; ++i) {
            ASSERT_EQ(processed[row * kStride + i], 255 - refused[row * kStride + i]) << row << " " << i;
            ASSERT_EQ(last[row * kStride + i], processed[row * kStride + i]) << row << " " << i;
        }
        const std::size_t padding = row * kStride + kRow;
        EXPECT_EQ(std::tuple(processed[padding], refused[padding + 1], last[padding]), std::tuple(0, 0, 0)) << row;
    }
    const GrabberStatistics statistics = ReadGrabberStatistics(grabber_);
    EXPECT_EQ(std::tuple(statistics.buffers, statistics.refused, statistics.missed), std::tuple(4u, 1u, 2u));
}

}  // namespace
}  // namespace lumora
