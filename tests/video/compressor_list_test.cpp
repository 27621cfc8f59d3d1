#include "video/compressor_list.h"
#include "capture_device_gst_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumora {
namespace {

using test::Adopt;

class CompressorListTest : public test::GstTest {
protected:
    void SetUp() override { ASSERT_TRUE(list_.EnumerateCompressors()); }

    int IndexOf(const std::string& name) const {
        const auto& names = list_.Names();
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }

    CompressorList list_;
};

TEST_F(CompressorListTest, ListsTheEncodersThatWorkByLongNameInAStableOrder) {
    EXPECT_GE(IndexOf("JPEG image encoder"), 0);
    EXPECT_EQ(IndexOf("On2 VP9 Encoder"), -1);  // avimux takes no VP9
    EXPECT_EQ(IndexOf("Theora video encoder"), -1);
    // Installed, and taken by avimux, but no good for a recording: fixed sizes or rates,
    // every rate refused, files Lumora cannot decode, hardware that is not there.
    for (const char* useless : {"avenc_dvvideo", "avenc_h263", "avenc_mpeg1video", "avenc_mpeg2video", "mpeg2enc",
                                "avenc_ljpeg", "openjpegenc", "avenc_h264_omx", "avenc_mpeg4_omx"}) {
        for (int i = 0; i < list_.Count(); ++i) EXPECT_NE(list_.ElementNameAt(i), useless);
    }
    EXPECT_TRUE(std::is_sorted(list_.Names().begin(), list_.Names().end()));

    CompressorList again;
    ASSERT_TRUE(again.EnumerateCompressors());
    EXPECT_EQ(again.Names(), list_.Names());

    // Whatever is listed can be made and feeds avimux.
    GstElement* muxer = gst_element_factory_make("avimux", nullptr);
    ASSERT_NE(muxer, nullptr);
    test::ElementPtr mux = Adopt(muxer);
    for (int i = 0; i < list_.Count(); ++i) {
        test::ElementPtr encoder = Adopt(list_.CreateCompressor(i));
        ASSERT_TRUE(encoder) << list_.NameAt(i);
        GstPad* output = gst_element_get_static_pad(encoder.get(), "src");
        ASSERT_NE(output, nullptr) << list_.NameAt(i);
        GstCaps* offered = gst_pad_query_caps(output, nullptr);
        GstPadTemplate* video = gst_element_get_pad_template(mux.get(), "video_%u");
        EXPECT_TRUE(gst_caps_can_intersect(offered, GST_PAD_TEMPLATE_CAPS(video))) << list_.NameAt(i);
        gst_caps_unref(offered);
        gst_object_unref(output);
    }
}

TEST_F(CompressorListTest, TheSelectionAndTheSettingsSurviveEnumerationAndNoEntryGivesNoEncoder) {
    const int jpeg = IndexOf("JPEG image encoder");
    list_.SetSelected(jpeg);
    list_.SetSettings(jpeg, {{"quality", "40"}, {"no-such-property", "1"}});
    ASSERT_TRUE(list_.EnumerateCompressors());
    EXPECT_EQ(list_.Selected(), jpeg);

    test::ElementPtr encoder = Adopt(list_.CreateCompressor(jpeg, "Codec"));
    ASSERT_TRUE(encoder);
    EXPECT_STREQ(GST_OBJECT_NAME(encoder.get()), "Codec");
    gint quality = 0;
    g_object_get(encoder.get(), "quality", &quality, nullptr);
    EXPECT_EQ(quality, 40);

    EXPECT_EQ(list_.CreateCompressor(-1), nullptr);
    EXPECT_EQ(list_.CreateCompressor(list_.Count()), nullptr);
    EXPECT_EQ(list_.NameAt(list_.Count()), "");
    EXPECT_TRUE(list_.SettingsOf(-1).empty());
}

}  // namespace
}  // namespace lumora
