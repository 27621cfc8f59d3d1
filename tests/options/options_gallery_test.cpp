// Screenshots of the options window with each tab under every shipped skin, written to the
// build's skin-gallery/ folder (options-<skin>-filters.png, options-<skin>-effects.png)
// for people to look at. Checks only that they are made.
#include "options_window_fixture.h"

#include <QDir>

namespace lumora::test {
namespace {

using OptionsGalleryTest = OptionsWindowTest;

TEST_F(OptionsGalleryTest, ShootsBothTabsUnderEverySkin) {
    Build();
    QDir().mkpath(LUMORA_SKIN_GALLERY_DIR);
    ASSERT_GE(skins_.Count(), 2);
    ParvelSimpleTab& tabs = options_->Tabs();
    for (int index = 0; index < skins_.Count(); ++index) {
        skins_.ApplySkin(index);
        const QString name = skins_.Get(index)->name;
        for (const auto& [tab, page] : {std::pair{0, "filters"}, std::pair{1, "effects"}}) {
            if (tabs.GetCurrent() != tab) QTest::keyClick(&tabs, tab == 0 ? Qt::Key_Left : Qt::Key_Right);
            const QString file = QString(LUMORA_SKIN_GALLERY_DIR "/options-%1-%2.png").arg(name, page);
            EXPECT_TRUE(options_->grab().save(file)) << file.toStdString();
        }
    }
}

}  // namespace
}  // namespace lumora::test
