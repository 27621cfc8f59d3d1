// --cycle-effects: every effect of the real chain (built-ins and the bundled plug-ins)
// switched on and off in turn, one step at a time.
#include "cli/effect_cycler.h"
#include "effects/all_builtin_effects.h"
#include "scoped_env.h"
#include "test_support.h"
#include "video/capture_device_list.h"

#include <gtest/gtest.h>

namespace lumora::cli {
namespace {

class EffectCyclerTest : public ::testing::Test {
protected:
    void SetUp() override {
        devices_.EnumerateCaptureDevices();
        chain_.LoadEffects();
        ASSERT_GT(chain_.EffectCount(), 4u) << "the bundled plug-ins are loaded";
    }
    void TearDown() override {
        for (EffectId id = 1; id <= Count(); ++id) chain_.DeactivateEffect(id);
        chain_.UnloadEffects();
    }

    EffectId Count() const { return static_cast<EffectId>(chain_.EffectCount()); }

    std::size_t ActiveCount() const {
        std::size_t active = 0;
        for (EffectId id = 1; id <= Count(); ++id) active += chain_.IsEffectActive(id) ? 1 : 0;
        return active;
    }

    test::TempDir config_;
    test::ScopedEnv configDir_{"LUMORA_CONFIG_DIR", config_.path().c_str()};
    test::ScopedEnv noDevices_{"LUMORA_TEST_DEVICES", nullptr};
    CaptureDeviceList devices_;
    EffectChain chain_{test::ProgramDir(), CreateAllBuiltinEffects};
};

TEST_F(EffectCyclerTest, EveryEffectComesOnAndGoesOffInTurnAndAnEffectAlreadyOnIsLeftOn) {
    EffectCycler cycler(chain_, devices_, 2.0);
    EXPECT_FALSE(cycler.Advance(1.9)) << "nothing is due before the first period";
    const std::size_t count = chain_.EffectCount();
    double now = 0;
    for (std::size_t step = 0; step < 2 * count + 1; ++step) {
        now += 2.0;
        const std::optional<std::string> line = cycler.Advance(now);
        ASSERT_TRUE(line) << "step " << step;
        const auto id = static_cast<EffectId>(step / 2 % count + 1);
        const std::string prefix =
            "lumora-cli: effect " + std::to_string(id) + " \"" + chain_.FindEffect(id)->name + "\" ";
        ASSERT_EQ(line->rfind(prefix, 0), 0u) << *line;
        if (step % 2 == 1) {
            EXPECT_EQ(ActiveCount(), 0u) << *line;
        } else if (id == chain_.pipEffectId()) {
            EXPECT_EQ(*line, prefix + "passed over: there is no capture device");
        } else if (id == chain_.faceTrackingEffectId() && *line != prefix + "on") {
            // The face cascade lies beside the program, not beside the tests.
            EXPECT_EQ(std::tuple(line->rfind(prefix + "not started: ", 0), ActiveCount()), std::tuple(0u, 0u)) << *line;
        } else {
            EXPECT_EQ(std::tuple(*line, chain_.IsEffectActive(id), ActiveCount()), std::tuple(prefix + "on", true, 1u));
        }
    }
    ASSERT_TRUE(chain_.IsEffectActive(1)) << "the second round began with the first effect";

    // A new cycler finds that effect on: a late call takes one step, and it is left on.
    EffectCycler late(chain_, devices_, 0.5);
    EXPECT_EQ(late.Advance(100.0), "lumora-cli: effect 1 \"Zoom\" stays on");
    EXPECT_EQ(late.Advance(100.0), "lumora-cli: effect 1 \"Zoom\" left as it was");
    EXPECT_TRUE(chain_.IsEffectActive(1));
    EXPECT_EQ(late.Advance(100.0), "lumora-cli: effect 2 \"RGB filter\" on");
    EXPECT_EQ(ActiveCount(), 2u);
}

}  // namespace
}  // namespace lumora::cli
