#include "bundled_plugins_fixture.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace lumora::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMovingAnimations[] = {"Falling snow", "Hearts", "Bubbles", "Confetti"};

bool IsBlack(TestFrame& frame) {
    for (std::int32_t y = 0; y < frame.height; ++y) {
        const std::uint8_t* row = frame.pixel(0, y);
        if (std::any_of(row, row + frame.width * 3, [](std::uint8_t b) { return b != 0; })) return false;
    }
    return true;
}

TEST_F(BundledPluginsTest, ModulesOfferAnimationsAndFiltersWithIconsAndKeysOfTheirOwn) {
    const std::vector<Effect*> effects = Bundled();
    std::set<std::string> names, guids;
    int animations = 0, filters = 0;
    for (const Effect* effect : effects) {
        names.insert(effect->name);
        guids.insert(effect->guid);
        EXPECT_EQ(std::strlen(effect->guid), 36u) << effect->name;
        ASSERT_NE(effect->icon, nullptr) << effect->name;
        EXPECT_EQ(effect->icon->width(), 32);
        EXPECT_EQ(effect->icon->height(), 32);
        animations += effect->layer == kLayerAnimation;
        filters += effect->layer == kLayerFilter;
    }
    EXPECT_EQ(animations, 6);
    EXPECT_EQ(filters, 8);
    EXPECT_EQ(names.size(), effects.size());
    EXPECT_EQ(guids.size(), effects.size());
}

// Exact-size heap frames, so the sanitizer build catches any byte written or read past
// the end; the row padding must come out as it went in.
TEST_F(BundledPluginsTest, EveryEffectRunsOnTinyAndOddFramesWithinItsBytes) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {{641, 479}, {1, 1}, {3, 2}, {641, 479}, {2, 3}};
    for (Effect* effect : Bundled()) {
        SCOPED_TRACE(effect->name);
        ASSERT_EQ(chain().ActivateEffect(effect->id), kEffectStarted);
        unsigned seed = 1;
        for (const auto& [width, height] : sizes) {
            for (const double time : {0.0, 0.7, 6.5}) {
                TestFrame frame = NoiseFrame(width, height, seed++);
                const std::vector<std::uint8_t> padding = RowPadding(frame);
                Apply(*effect, frame, time);
                EXPECT_EQ(RowPadding(frame), padding) << width << " x " << height;
            }
        }
        chain().DeactivateEffect(effect->id);
        TestFrame late = NoiseFrame(3, 2, seed);
        Apply(*effect, late, 7.0);  // the frame that was already under way at Stop
    }
}

TEST_F(BundledPluginsTest, BlackAndWhiteGivesEqualChannels) {
    Effect* grey = Started("Black and white");
    ASSERT_NE(grey, nullptr);
    TestFrame frame = NoiseFrame(641, 479, 7);
    Apply(*grey, frame, 0);
    for (std::int32_t y = 0; y < frame.height; ++y) {
        for (std::int32_t x = 0; x < frame.width; ++x) {
            const std::uint8_t* p = frame.pixel(x, y);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << ", " << y;
        }
    }
}

TEST_F(BundledPluginsTest, NegativeTwiceGivesThePictureBack) {
    Effect* negative = Started("Negative");
    ASSERT_NE(negative, nullptr);
    const TestFrame original = NoiseFrame(641, 479, 8);
    TestFrame frame = original;
    Apply(*negative, frame, 0);
    EXPECT_EQ(255 - frame.pixel(10, 20)[1], original.bytes[original.layout.PixelOffset(10, 20) + 1]);
    Apply(*negative, frame, 0);
    EXPECT_EQ(frame.bytes, original.bytes);
}

TEST_F(BundledPluginsTest, MirrorSwapsColumnsExactly) {
    Effect* mirror = Started("Mirror");
    ASSERT_NE(mirror, nullptr);
    for (const std::int32_t width : {641, 640, 3}) {
        TestFrame original = NoiseFrame(width, 5, 9);
        TestFrame frame = original;
        Apply(*mirror, frame, 0);
        for (std::int32_t y = 0; y < frame.height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                ASSERT_TRUE(std::equal(frame.pixel(x, y), frame.pixel(x, y) + 3, original.pixel(width - 1 - x, y)))
                    << width << ": " << x << ", " << y;
            }
        }
    }
}

// A plain picture has nothing to smooth, average or swap: one wrong weight or edge
// sample shows as a changed byte.
TEST_F(BundledPluginsTest, SpatialFiltersKeepAPlainPictureExactly) {
    for (const char* name : {"Soft focus", "Pixelate", "Mirror"}) {
        Effect* effect = Started(name);
        ASSERT_NE(effect, nullptr);
        for (const auto& [width, height] : {std::pair{641, 479}, std::pair{5, 3}}) {
            TestFrame frame(width, height);
            for (std::int32_t y = 0; y < height; ++y) {
                for (std::int32_t x = 0; x < width; ++x) frame.Set(x, y, 40, 170, 255);
            }
            const TestFrame plain = frame;
            Apply(*effect, frame, 0);
            EXPECT_EQ(frame.bytes, plain.bytes) << name << " " << width << " x " << height;
        }
    }
}

TEST_F(BundledPluginsTest, FrameAndVignetteChangeTheEdgesAndLeaveTheMiddle) {
    for (const char* name : {"Picture frame", "Vignette"}) {
        Effect* effect = Started(name);
        ASSERT_NE(effect, nullptr);
        TestFrame frame(640, 480, 200);
        Apply(*effect, frame, 0);
        EXPECT_NE(frame.pixel(1, 1)[0], 200) << name;       // lower left corner
        EXPECT_NE(frame.pixel(638, 478)[2], 200) << name;   // upper right corner
        EXPECT_EQ(frame.pixel(320, 240)[1], 200) << name;   // the middle
    }
}

TEST_F(BundledPluginsTest, PictureFrameCannotStartWithoutItsPicture) {
    TempDir folder;
    for (const char* module : kBundledModules) fs::copy_file(ProgramDir() + module, folder.file(module));
    Load(folder.path().string() + "/");
    Effect* hearts = Started("Hearts");
    ASSERT_NE(hearts, nullptr);
    for (Effect* effect : Bundled()) {
        if (std::strcmp(effect->name, "Picture frame") == 0) {
            EXPECT_EQ(chain().ActivateEffect(effect->id), kEffectFailed);
            EXPECT_FALSE(chain().IsEffectActive(effect->id));
        }
    }
}

// Frames at the same stream time look the same however many frames came before (so the
// speed does not depend on the frame rate), also after the time went back; a Reset
// starts the animation again.
TEST_F(BundledPluginsTest, AnimationsFollowTheStreamTimeAlone) {
    const auto drawn = [this](Effect& effect, double time) {
        TestFrame frame(320, 240);
        Apply(effect, frame, time);
        return frame;
    };
    for (const char* name : kMovingAnimations) {
        Effect* effect = Started(name);
        ASSERT_NE(effect, nullptr);
        effect->Reset();
        for (double time = 10.0; time < 13.0; time += 1.0 / 25) drawn(*effect, time);
        TestFrame afterMany = drawn(*effect, 11.5);  // back in time

        effect->Reset();
        drawn(*effect, 10.0);
        TestFrame afterOne = drawn(*effect, 11.5);
        EXPECT_EQ(afterMany.bytes, afterOne.bytes) << name;
        EXPECT_FALSE(IsBlack(afterOne)) << name;
        TestFrame later = drawn(*effect, 12.5);
        EXPECT_NE(later.bytes, afterOne.bytes) << name << " does not move";
    }
}

}  // namespace
}  // namespace lumora::test
