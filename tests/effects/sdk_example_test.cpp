// The SDK's example plug-in, built outside this tree by the PluginSdkExampleBuildsAndLoads
// test, which names the module in LUMORA_SDK_EXAMPLE. Skipped when run on its own.
#include "effects/effect_chain.h"

#include "config_dir_fixture.h"
#include "test_frames.h"

#include <lumora/registry.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace lumora {
namespace {

class PluginSdkExample : public test::ConfigDirTest {
protected:
    void SetUp() override {
        ConfigDirTest::SetUp();
        const char* module = std::getenv("LUMORA_SDK_EXAMPLE");
        if (!module) GTEST_SKIP() << "run by the PluginSdkExampleBuildsAndLoads test";
        std::filesystem::copy_file(module, folder_.file("sliding_bar.so"));
    }

    // Where the bar starts on the bottom row of a black 64 x 8 frame at `time`; -1 for none.
    int BarStart(EffectChain& chain, double time) {
        test::TestFrame frame(64, 8);
        chain.ApplyEffects(frame.data(), 64, 8, time);
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* p = frame.pixel(x, 0);
            if (p[0] || p[1] || p[2]) return x;
        }
        return -1;
    }

    test::TempDir folder_;
};

TEST_F(PluginSdkExample, SlidingBarMovesWithStreamTimeAndKeepsItsSettings) {
    const char* key = "SOFTWARE\\Lumora\\5E0C2F3A-9B7D-4E21-A6C8-1D4F7B2E9A30";
    {
        EffectChain chain(folder_.path().string() + "/");
        chain.LoadEffects();
        Effect* bar = chain.FindEffect(5);
        ASSERT_NE(bar, nullptr);
        EXPECT_STREQ(bar->name, "Sliding bar");
        EXPECT_EQ(bar->layer, kLayerAnimation);
        ASSERT_EQ(chain.ActivateEffect(5), kEffectStarted);
        // Every 4 s across 64 + 5 columns, starting 5 columns left of the picture.
        EXPECT_EQ(BarStart(chain, 0.0), -1);
        EXPECT_EQ(BarStart(chain, 1.0), 12);
        EXPECT_EQ(BarStart(chain, 1.0), 12);  // the same time, the same place
        EXPECT_EQ(BarStart(chain, 3.0), 46);
    }
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Lumora", "RememberFilterSettings", 1));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, key, "Seconds", 2));
    EffectChain chain(folder_.path().string() + "/");
    chain.LoadEffects();
    ASSERT_EQ(chain.ActivateEffect(5), kEffectStarted);
    EXPECT_EQ(BarStart(chain, 1.0), 29);  // halfway at 1 s of 2
    chain.UnloadEffects();
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, key, "Seconds", 0), 2u);
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, key, "Colour", 0), 0x0000C0FFu);
}

}  // namespace
}  // namespace lumora
