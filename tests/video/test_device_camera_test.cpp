#include "capture_device_gst_fixture.h"
#include "video/capture_format_caps.h"
#include "video/capture_format_negotiator.h"
#include "video/test_device_camera.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace lumora {
namespace {

using TestDeviceCameraTest = test::GstTest;

// Every single format of the camera's list: each structure at each of its rates.
std::vector<test::CapsPtr> SingleFormats(const GstCaps* caps) {
    std::vector<test::CapsPtr> formats;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure* s = gst_caps_get_structure(caps, i);
        const GValue* rates = gst_structure_get_value(s, "framerate");
        for (guint r = 0; rates && GST_VALUE_HOLDS_LIST(rates) && r < gst_value_list_get_size(rates); ++r) {
            GstStructure* fixed = gst_structure_copy(s);
            gst_structure_set_value(fixed, "framerate", gst_value_list_get_value(rates, r));
            formats.emplace_back(gst_caps_new_full(fixed, nullptr));
        }
    }
    return formats;
}

TEST_F(TestDeviceCameraTest, OffersSeveralSizesInTwoFormatsAtTwoRates) {
    test::CapsPtr caps(PatternCameraCaps());
    std::set<std::string> sizes, formats, rates;
    for (const auto& single : SingleFormats(caps.get())) {
        const GstStructure* s = gst_caps_get_structure(single.get(), 0);
        int width = 0, height = 0, num = 0, den = 0;
        gst_structure_get(s, "width", G_TYPE_INT, &width, "height", G_TYPE_INT, &height,
                          "framerate", GST_TYPE_FRACTION, &num, &den, nullptr);
        sizes.insert(std::to_string(width) + "x" + std::to_string(height));
        formats.insert(gst_structure_get_string(s, "format"));
        rates.insert(std::to_string(num) + "/" + std::to_string(den));
    }
    EXPECT_EQ(sizes, (std::set<std::string>{"320x240", "640x480", "1280x720"}));
    EXPECT_EQ(formats, (std::set<std::string>{"YUY2", "I420"}));
    EXPECT_EQ(rates, (std::set<std::string>{"30/1", "15/1"}));
}

TEST_F(TestDeviceCameraTest, EveryOfferedFormatReallyStreams) {
    test::CapsPtr caps(PatternCameraCaps());
    for (const auto& wanted : SingleFormats(caps.get())) {
        CaptureFormat expected;
        ASSERT_EQ(CaptureFormatFromCaps(wanted.get(), expected), S_OK);
        SCOPED_TRACE(std::to_string(expected.header.biWidth) + " " +
                     std::to_string(expected.header.biCompression) + " " + std::to_string(expected.frameTime));

        GstElement* camera = CreatePatternCamera("ball");
        auto pipeline = test::CameraPipeline(camera, wanted.get());
        ASSERT_TRUE(test::RunToEos(pipeline.get()));
        CaptureFormat streamed;
        ASSERT_EQ(CaptureFormatNegotiator(camera).ReadCaptureFormat(streamed), S_OK);
        EXPECT_EQ(std::memcmp(&streamed.header, &expected.header, sizeof expected.header), 0);
        EXPECT_EQ(streamed.frameTime, expected.frameTime);
    }
}

}  // namespace
}  // namespace lumora
