#include "capture_device_gst_fixture.h"
#include "video/device_controls_dialog.h"
#include "video/pin_format_list.h"
#include "video/test_device_camera.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <gtest/gtest.h>

#include <map>

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

DeviceControl Control(std::uint32_t id, const char* name, DeviceControl::Type type, std::int32_t minimum,
                      std::int32_t maximum, std::int32_t value) {
    DeviceControl control;
    control.id = id;
    control.name = name;
    control.type = type;
    control.minimum = minimum;
    control.maximum = maximum;
    control.value = value;
    return control;
}

class FakeControls : public DeviceControls {
public:
    FakeControls() {
        controls_ = {Control(9963776, "Brightness", DeviceControl::Type::kInteger, -64, 64, 10),
                     Control(9963788, "White Balance, Automatic", DeviceControl::Type::kBoolean, 0, 1, 1),
                     Control(9963800, "Power Line Frequency", DeviceControl::Type::kMenu, 0, 2, 1)};
        controls_[2].menu = {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}};
    }
    const std::vector<DeviceControl>& Controls() const override { return controls_; }
    bool Set(std::uint32_t id, std::int32_t value) override {
        set[id] = value;
        return true;
    }
    std::map<std::uint32_t, std::int32_t> set;

private:
    std::vector<DeviceControl> controls_;
};

TEST(SourceGraphControlsPage, ShowsEachControlAtItsValueAndSendsChangesAtOnce) {
    FakeControls controls;
    DeviceControlsDialog page(controls);
    auto* brightness = page.findChild<QSlider*>("control-9963776");
    auto* automatic = page.findChild<QCheckBox*>("control-9963788");
    auto* frequency = page.findChild<QComboBox*>("control-9963800");
    ASSERT_TRUE(brightness && automatic && frequency);
    EXPECT_EQ(brightness->value(), 10);
    EXPECT_EQ(brightness->minimum(), -64);
    EXPECT_TRUE(automatic->isChecked());
    EXPECT_EQ(frequency->currentText(), "50 Hz");
    EXPECT_TRUE(controls.set.empty());

    brightness->setValue(-20);
    automatic->setChecked(false);
    frequency->activated(2);
    EXPECT_EQ(controls.set, (std::map<std::uint32_t, std::int32_t>{{9963776, -20}, {9963788, 0}, {9963800, 2}}));
}

TEST(SourceGraphControlsPage, AV4l2SourceWithoutItsNodeHasNoDeviceControls) {
    gst_init(nullptr, nullptr);
    test::ElementPtr gone = test::Adopt(gst_element_factory_make("v4l2src", nullptr));
    if (gone) {
        g_object_set(gone.get(), "device", "/dev/no-such-video-node", nullptr);
        EXPECT_EQ(DeviceControls::ForCaptureElement(gone.get()), nullptr);
    }
}

}  // namespace
}  // namespace lumora
