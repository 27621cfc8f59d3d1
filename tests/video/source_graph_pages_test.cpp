#include "capture_device_gst_fixture.h"
#include "video/pin_format_list.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

class SourceGraphPinFormats : public test::GstTest {};

// The test camera's list and the running format chosen in it: the source graph's pin page test.
TEST_F(SourceGraphPinFormats, FixesRangesDropsDuplicatesAndNamesJpeg) {
    test::CapsPtr offered = test::Caps(
        "image/jpeg, width=1920, height=1080, framerate=(fraction){ 30/1, 30000/1001 }; "
        "video/x-raw, format=YUY2, width=[ 160, 640 ], height=[ 120, 480 ], framerate=30/1; "
        "image/jpeg, width=1920, height=1080, framerate=30/1");
    const PinFormatList formats = PinFormatList::FromCaps(offered.get());
    ASSERT_EQ(formats.Entries().size(), 3u);
    EXPECT_EQ(formats.Entries()[0].description, "MJPG 1920 x 1080, 30 fps");
    EXPECT_EQ(formats.Entries()[1].description, "MJPG 1920 x 1080, 29.97 fps");
    EXPECT_EQ(formats.Entries()[2].description, "YUY2 160 x 120, 30 fps");
    EXPECT_TRUE(PinFormatList::FromCaps(nullptr).Empty());
}

}  // namespace
}  // namespace lumora
