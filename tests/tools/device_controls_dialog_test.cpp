#include "tools/device_controls_dialog.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QSlider>

#include <map>

namespace lumora {
namespace {

class FakeControls : public DeviceControls {
public:
    const std::vector<DeviceControl>& Controls() const override { return controls_; }
    bool Set(std::uint32_t id, std::int32_t value) override {
        set[id] = value;
        return true;
    }
    std::map<std::uint32_t, std::int32_t> set;

private:
    using T = DeviceControl::Type;
    std::vector<DeviceControl> controls_{
        {.id = 9963776, .name = "Brightness", .minimum = -64, .maximum = 64, .value = 10, .menu = {}},
        {.id = 9963788, .name = "White Balance, Automatic", .type = T::kBoolean, .maximum = 1, .value = 1, .menu = {}},
        {.id = 9963800,
         .name = "Power Line Frequency",
         .type = T::kMenu,
         .maximum = 2,
         .value = 1,
         .menu = {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}}}};
};

TEST(SourceGraphControlsPage, ShowsEachControlAtItsValueAndSendsChangesAtOnce) {
    FakeControls controls;
    DeviceControlsDialog page(controls);
    auto* brightness = page.findChild<QSlider*>("control-9963776");
    auto* automatic = page.findChild<QCheckBox*>("control-9963788");
    auto* frequency = page.findChild<QComboBox*>("control-9963800");
    ASSERT_TRUE(brightness && automatic && frequency);
    EXPECT_EQ(std::tuple(brightness->value(), brightness->minimum(), automatic->isChecked(), frequency->currentText(),
                         controls.set.size()),
              std::tuple(10, -64, true, "50 Hz", 0u));

    brightness->setValue(-20);
    automatic->setChecked(false);
    frequency->activated(2);
    EXPECT_EQ(controls.set, (std::map<std::uint32_t, std::int32_t>{{9963776, -20}, {9963788, 0}, {9963800, 2}}));
}

}  // namespace
}  // namespace lumora
