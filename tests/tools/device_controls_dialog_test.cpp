#include "tools/device_controls_dialog.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QSlider>

#include <map>

namespace lumora {
namespace {

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

}  // namespace
}  // namespace lumora
