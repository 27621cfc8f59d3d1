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
    bool Set(std::uint32_t id, std::int32_t value) override { return set[id] = value, true; }
    std::map<std::uint32_t, std::int32_t> set;

private:
    using T = DeviceControl::Type;
    std::vector<DeviceControl> controls_{
        {9963776, "Brightness", T::kInteger, -64, 64, 1, 0, 10, {}},
        {9963788, "White Balance, Automatic", T::kBoolean, 0, 1, 1, 0, 1, {}},
        {9963800, "Power Line Frequency", T::kMenu, 0, 2, 1, 0, 1, {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}}}};
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
