#include "video/capture_device_list.h"
#include "capture_device_gst_fixture.h"
#include "video/extra_device_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

namespace lumora {
namespace {

using test::Adopt;
using test::CameraPattern;

// The system enumeration with test devices. Real devices of the machine, if any, come
// first; the five test devices are the last entries.
class CaptureDeviceListTest : public test::GstTest {
protected:
    void SetUp() override {
        ::setenv(kExtraDevicesVariable,
                 "Cam=pattern:smpte;Cam=pattern:ball;No Path=;"
                 "Lumora Capture=packets:/tmp/lumora-vcam;;Odd=pattern:no-such-pattern",
                 1);
        ASSERT_TRUE(list_.EnumerateCaptureDevices());
        ASSERT_GE(list_.Count(), 5);
        first_ = list_.Count() - 5;
    }
    void TearDown() override { ::unsetenv(kExtraDevicesVariable); }

    CaptureDeviceList list_;
    int first_ = 0;
};

TEST_F(CaptureDeviceListTest, SameNamedDevicesOpenTheirOwnCameraAndOthersNone) {
    EXPECT_EQ(list_.DeviceAt(first_ + 1)->friendlyName, "Cam");
    auto smpte = Adopt(list_.OpenCaptureFilter(first_));
    auto ball = Adopt(list_.OpenCaptureFilter(first_ + 1));
    ASSERT_TRUE(smpte && ball);
    EXPECT_EQ(std::tuple(CameraPattern(smpte.get()), CameraPattern(ball.get()), list_.FindDevicePathByName("Cam")),
              std::tuple("smpte", "ball", "pattern:smpte"));

    EXPECT_EQ(list_.DeviceAt(first_ + 2)->devicePath, std::nullopt);
    EXPECT_EQ(list_.FindDevicePathByName("No Path"), std::nullopt);
    EXPECT_EQ(list_.FindDevicePathByName("Lumora Capture"), "packets:/tmp/lumora-vcam");
    // No path; takes packets but gives no video; an unknown pattern; no such entry.
    for (const int index : {first_ + 2, first_ + 3, first_ + 4, list_.Count()}) {
        EXPECT_EQ(list_.OpenCaptureFilter(index), nullptr) << index;
    }
    EXPECT_EQ(list_.DeviceAt(-1), nullptr);
    EXPECT_EQ(list_.FindDevicePathByName("cam"), std::nullopt);  // names match exactly
}

TEST(CaptureDeviceList, RefillsButKeepsTheListWhenNothingIsFound) {
    std::deque<std::string> scans{"A=pattern:snow", "", "B=/dev/video0;=pattern:ball;C"};
    CaptureDeviceList list([&scans] {
        auto next = ParseExtraDevices(scans.front());
        scans.pop_front();
        return next;
    });
    ASSERT_TRUE(list.EnumerateCaptureDevices());
    EXPECT_FALSE(list.EnumerateCaptureDevices());
    EXPECT_EQ(list.FindDevicePathByName("A"), "pattern:snow");

    ASSERT_TRUE(list.EnumerateCaptureDevices());
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.FindDevicePathByName("A"), std::nullopt);
    EXPECT_EQ(*list.DeviceAt(1), (CaptureDeviceInfo{std::nullopt, "pattern:ball"}));
    EXPECT_EQ(*list.DeviceAt(2), (CaptureDeviceInfo{"C", std::nullopt}));
}

}  // namespace
}  // namespace lumora
