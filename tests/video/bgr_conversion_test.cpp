// The grabber's own conversions to BGR: every format it takes, against the textbook
// formulas, in both row orders.
#include "video/bgr_conversion.h"
#include "capture_device_gst_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace lumora {
namespace {

// A frame of `format` mapped over bytes of its own; the colour of pixel (x, y) is
// Y = 16 + 3x + 5y, U = 96 + 2x, V = 160 - 3y (as far as the format's chroma reaches):
// the colours of real pictures, not the saturated corners of the YUV cube.
class TestFrame {
public:
    TestFrame(GstVideoFormat format, int width, int height, const char* colorimetry = nullptr) {
        gst_video_info_set_format(&info_, format, width, height);
        if (colorimetry != nullptr) gst_video_colorimetry_from_string(&info_.colorimetry, colorimetry);
        buffer_ = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info_), nullptr);
        gst_video_frame_map(&frame_, &info_, buffer_, GST_MAP_READWRITE);
        Fill();
    }
    ~TestFrame() {
        gst_video_frame_unmap(&frame_);
        gst_buffer_unref(buffer_);
    }
    const GstVideoFrame& Frame() const { return frame_; }

    static int Y(int x, int y) { return std::min(235, 16 + 3 * x + 5 * y); }
    static int U(int x) { return 96 + 2 * x; }
    static int V(int y) { return 160 - 3 * y; }

private:
    void Fill() {
        const GstVideoFormatInfo* format = info_.finfo;
        for (int c = 0; c < static_cast<int>(GST_VIDEO_FRAME_N_COMPONENTS(&frame_)); ++c) {
            auto* data = static_cast<unsigned char*>(GST_VIDEO_FRAME_COMP_DATA(&frame_, c));
            const int stride = GST_VIDEO_FRAME_COMP_STRIDE(&frame_, c), step = GST_VIDEO_FRAME_COMP_PSTRIDE(&frame_, c);
            for (int y = 0; y < GST_VIDEO_FRAME_COMP_HEIGHT(&frame_, c); ++y) {
                for (int x = 0; x < GST_VIDEO_FRAME_COMP_WIDTH(&frame_, c); ++x) {
                    // Full-size coordinates of the sample, for the subsampled chroma planes.
                    const int fx = x << GST_VIDEO_FORMAT_INFO_W_SUB(format, c);
                    const int fy = y << GST_VIDEO_FORMAT_INFO_H_SUB(format, c);
                    const int yuv[] = {Y(fx, fy), U(fx), V(fy), 255}, rgb[] = {10 + x, 20 + y, 30 + x + y, 255};
                    data[y * stride + x * step] =
                        static_cast<unsigned char>(GST_VIDEO_FORMAT_INFO_IS_YUV(format) ? yuv[c] : rgb[c]);
                }
            }
        }
    }

    GstVideoInfo info_{};
    GstBuffer* buffer_ = nullptr;
    GstVideoFrame frame_{};
};

class BgrConversion : public test::GstTest {};

struct Matrix {
    double kr, kb;
    bool full;
};

// The exact conversion of one YUV sample, clamped to a byte: B, G, R.
std::array<int, 3> ExactBgr(int y, int u, int v, Matrix m) {
    const double luma = m.full ? y : (y - 16) * 255.0 / 219.0;
    const double cb = (u - 128) * (m.full ? 1.0 : 255.0 / 224.0);
    const double cr = (v - 128) * (m.full ? 1.0 : 255.0 / 224.0);
    const double kg = 1 - m.kr - m.kb;
    const double r = luma + 2 * (1 - m.kr) * cr;
    const double b = luma + 2 * (1 - m.kb) * cb;
    const double g = (luma - m.kr * r - m.kb * b) / kg;
    auto byte = [](double value) { return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0))); };
    return {byte(b), byte(g), byte(r)};
}

// The largest difference of a converted picture from the exact one, in any channel.
int LargestError(const std::vector<unsigned char>& bgr, int width, int height, bool bottomUp, int subX, int subY,
                 Matrix m) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    int largest = 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bgr.data() + stride * static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            // Each pixel takes the chroma of the sample that covers it.
            const auto exact =
                ExactBgr(TestFrame::Y(x, y), TestFrame::U((x >> subX) << subX), TestFrame::V((y >> subY) << subY), m);
            for (int c = 0; c < 3; ++c) largest = std::max(largest, std::abs(row[x * 3 + c] - exact[c]));
        }
    }
    return largest;
}

std::vector<unsigned char> Converted(const TestFrame& frame, bool bottomUp) {
    const int width = GST_VIDEO_FRAME_WIDTH(&frame.Frame());
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<unsigned char> bgr(stride * GST_VIDEO_FRAME_HEIGHT(&frame.Frame()), 0xAB);
    EXPECT_TRUE(ConvertToBgr(frame.Frame(), bgr.data(), stride, bottomUp));
    return bgr;
}

TEST_F(BgrConversion, EveryYuvFormatMatchesTheExactConversionEitherWayUpRgbFormatsKeepTheirBytesAndOthersAreRefused) {
    const Matrix bt601{0.299, 0.114, false}, bt709{0.2126, 0.0722, false}, jpeg{0.299, 0.114, true};
    struct Case {
        GstVideoFormat format;
        const char* colorimetry;
        Matrix matrix;
        int subX, subY;
        int tolerance;  // libyuv's BT.709 blue gain is held to 2.0 (the exact one is 2.11)
    } cases[] = {
        {GST_VIDEO_FORMAT_I420, "bt601", bt601, 1, 1, 2},  {GST_VIDEO_FORMAT_YV12, "bt709", bt709, 1, 1, 5},
        {GST_VIDEO_FORMAT_Y42B, "bt601", bt601, 1, 0, 2},  {GST_VIDEO_FORMAT_Y444, "bt709", bt709, 0, 0, 5},
        {GST_VIDEO_FORMAT_NV12, "1:4:0:0", jpeg, 1, 1, 2}, {GST_VIDEO_FORMAT_NV21, "bt601", bt601, 1, 1, 2},
    };
    for (const Case& c : cases) {
        // 37 x 23: odd sizes, so the last chroma sample covers one column and one row.
        const TestFrame frame(c.format, 37, 23, c.colorimetry);
        for (const bool bottomUp : {false, true}) {
            const auto bgr = Converted(frame, bottomUp);
            EXPECT_LE(LargestError(bgr, 37, 23, bottomUp, c.subX, c.subY, c.matrix), c.tolerance)
                << gst_video_format_to_string(c.format) << (bottomUp ? " bottom up" : " top down");
            EXPECT_EQ(bgr[37 * 3], 0xAB) << "the row padding is left alone";
        }
    }

    // RGB formats keep their bytes; others are refused.
    for (const GstVideoFormat format : {GST_VIDEO_FORMAT_BGR, GST_VIDEO_FORMAT_BGRx, GST_VIDEO_FORMAT_RGB}) {
        const TestFrame frame(format, 5, 3);
        const auto bgr = Converted(frame, true);
        // Filled with R = 10 + x, G = 20 + y, B = 30 + x + y whatever the byte order.
        const unsigned char* topRow = bgr.data() + 16 * 2;
        const unsigned char* bottomRow = bgr.data();
        EXPECT_EQ(std::vector<int>(topRow, topRow + 3), (std::vector<int>{30, 20, 10}))
            << gst_video_format_to_string(format);
        EXPECT_EQ(std::vector<int>(bottomRow + 12, bottomRow + 15), (std::vector<int>{36, 22, 14}))
            << gst_video_format_to_string(format);
    }
    const TestFrame yuy2(GST_VIDEO_FORMAT_YUY2, 4, 2);
    std::vector<unsigned char> untouched(32, 0xAB);
    EXPECT_FALSE(ConvertToBgr(yuy2.Frame(), untouched.data(), 12, true));
    EXPECT_EQ(untouched, std::vector<unsigned char>(32, 0xAB));
}

}  // namespace
}  // namespace lumora
