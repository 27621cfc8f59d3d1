#include "skin_folder_fixture.h"
#include "skins/apply_skin_event.h"
#include "skins/skin_artist.h"
#include "skins/skin_manager.h"
#include "skins/themed_skin_writer.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <tuple>

namespace lumora {
namespace {

using test::SkinFolders;

// Every SkinManager here reads the user's skins folder from the environment: an empty one
// stands in for it, so that skins of the machine's own user never join the tests.
class NoUserSkins : public ::testing::Environment {
public:
    void SetUp() override { ::setenv("XDG_DATA_HOME", home_.path().c_str(), 1); }

private:
    test::TempDir home_;
};
[[maybe_unused]] const auto* const kNoUserSkins = ::testing::AddGlobalTestEnvironment(new NoUserSkins);

// Notes every skin it is sent, into a log shared with other windows.
class SkinReceiver : public QWidget {
public:
    SkinReceiver(std::vector<std::pair<SkinReceiver*, const Skin*>>& log) : log_(log) {}

protected:
    bool event(QEvent* event) override {
        if (const Skin* skin = ApplySkinEvent::SkinOf(event)) {
            log_.emplace_back(this, skin);
            return true;
        }
        return QWidget::event(event);
    }

private:
    std::vector<std::pair<SkinReceiver*, const Skin*>>& log_;
};

// A manager over a program folder of the test's own.
class SkinManagerTest : public ::testing::Test {
protected:
    SkinManagerTest() { manager.SetProgramFolder(skins.programFolder()); }

    SkinFolders skins;
    SkinManager manager;
    std::vector<std::pair<SkinReceiver*, const Skin*>> log;
};

// Without a skins/ folder only the built-in skin loads.
TEST_F(SkinManagerTest, FoldersLoadInNameOrderApplySkinReachesEveryLiveWindowAndReloadingKeepsTheSkinByName) {
    manager.LoadAllSkins();
    ASSERT_EQ(manager.Count(), 1);
    EXPECT_EQ(manager.Get(0)->name, "Default");
    EXPECT_TRUE(manager.Get(1) == nullptr && manager.Get(-1) == nullptr);

    skins.Add("b-second", "[general]\nname=Same\n");
    skins.Add("a-first", "[general]\nname=Same\n");
    skins.Add("c-unnamed", "[general]\nname=\n");
    std::filesystem::create_directories(skins.root() / "d-without-ini");
    test::WriteFileText((skins.root() / "e-plain-file").string(), "[general]\nname=File\n");

    std::vector<std::string> folders;
    manager.EnumerateSkinFolders(&folders);
    const std::string root = skins.programFolder() + "skins/";
    EXPECT_EQ(folders, (std::vector<std::string>{root + "a-first/", root + "b-second/", root + "c-unnamed/",
                                                 root + "d-without-ini/"}));
    EXPECT_EQ(manager.Count(), 1);  // listing loads nothing
    manager.LoadAllSkins();         // loading again replaces, never duplicates
    ASSERT_EQ(manager.Count(), 3);
    EXPECT_TRUE(manager.Get(1)->name == "Same" && manager.Get(2)->name == "Same");
    EXPECT_EQ(manager.LoadSkin(root + "c-unnamed/"), nullptr);

    // Skins made while the program runs: the skin shown stays shown, found by its name.
    std::filesystem::remove_all(skins.root());
    skins.Add("b", "[general]\nname=B\n");
    manager.LoadAllSkins();
    SkinReceiver first(log);
    SkinReceiver second(log);
    auto* gone = new SkinReceiver(log);
    manager.RegisterSkinWindow(&second);
    manager.RegisterSkinWindow(nullptr);
    manager.RegisterSkinWindow(gone);
    manager.RegisterSkinWindow(&first);
    delete gone;

    manager.ApplySkin(1);
    using Log = std::vector<std::pair<SkinReceiver*, const Skin*>>;
    EXPECT_EQ(log, (Log{{&second, manager.Get(1)}, {&first, manager.Get(1)}}));
    log.clear();
    manager.ApplySkin(2);
    manager.ApplySkin(-1);
    EXPECT_TRUE(log.empty());

    skins.Add("a", "[general]\nname=A\n");
    EXPECT_EQ(manager.ReloadAllSkins(1), 2);
    ASSERT_EQ(manager.Count(), 3);
    EXPECT_EQ(manager.Get(2)->name, "B");
    EXPECT_EQ(log, (Log{{&second, manager.Get(2)}, {&first, manager.Get(2)}}));
    std::filesystem::remove_all(skins.root() / "b");
    EXPECT_EQ(manager.ReloadAllSkins(2), 0);  // gone: the built-in skin
}

TEST_F(SkinManagerTest, TheShippedSkinsLoadCompleteFromTheProgramFolderAndTheirWriterReportsFailures) {
    manager.SetProgramFolder(test::ProgramDir());
    manager.SetDevicePixelRatio(2.0);
    manager.LoadAllSkins();
    ASSERT_EQ(manager.Count(), 3);
    const SkinTheme themes[] = {SkinTheme::Default(), SkinTheme::Dark(), SkinTheme::HighContrast()};
    for (int index = 0; index < 3; ++index) {
        const Skin& skin = *manager.Get(index);
        const SkinTheme& theme = themes[index];
        EXPECT_EQ(skin.name, QString::fromStdString(theme.name));
        const SkinArtist artist(theme);
        for (const SkinItem& item : SkinItems()) {
            if (item.kind == SkinItemKind::kColour) {
                EXPECT_EQ(skin.Values().colours[item.id], theme.colours[item.id]) << item.key;
            }
            if (item.kind != SkinItemKind::kBitmap) continue;
            const QImage* picture = skin.Picture(item.id);
            // Read from the sharper file, not enlarged.
            EXPECT_TRUE(picture && *picture == artist.Draw(item, 2.0)) << theme.name << " " << item.key;
        }
        EXPECT_EQ(std::tuple(skin.zoom.font, skin.listView.font), std::tuple(theme.zoomFont, theme.listFont));
    }
    // The writer of those skins reports a folder that cannot be written.
    test::WriteFileText((skins.root().parent_path() / "file").string(), "");
    EXPECT_FALSE(ThemedSkinWriter::Write(SkinTheme::Dark(), skins.root().parent_path() / "file" / "Dark"));
}

}  // namespace
}  // namespace lumora
