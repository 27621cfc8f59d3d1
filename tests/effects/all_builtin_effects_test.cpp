#include "effects/all_builtin_effects.h"

#include "effects/effect_chain.h"
#include "effects/face_tracking_effect.h"
#include "effects/picture_in_picture_effect.h"

#include "config_dir_fixture.h"

#include <gtest/gtest.h>


namespace lumora {
namespace {

using AllBuiltinEffectsTest = test::ConfigDirTest;

TEST_F(AllBuiltinEffectsTest, FillsPlacesThreeAndFourWithTheRealEffects) {
    test::TempDir programFolder;
    EffectChain chain(programFolder.path().string() + "/", CreateAllBuiltinEffects);
    chain.LoadEffects();
    FaceTrackingEffect* face = FindFaceTrackingEffect(chain);
    PictureInPictureEffect* pip = FindPictureInPictureEffect(chain);
    ASSERT_NE(face, nullptr);
    ASSERT_NE(pip, nullptr);
    EXPECT_EQ(face->id, 3);
    EXPECT_EQ(pip->id, 4);
    EXPECT_NE(pip->icon, nullptr);

    EffectChain standIns(programFolder.path().string() + "/");
    standIns.LoadEffects();
    EXPECT_EQ(FindFaceTrackingEffect(standIns), nullptr);
    EXPECT_EQ(FindPictureInPictureEffect(standIns), nullptr);
}

}  // namespace
}  // namespace lumora
