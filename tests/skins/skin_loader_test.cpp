// Skins read from their folders: colours, one skin's values and pictures, hostile folders,
// and the manager that loads every skin folder and applies the chosen skin.
#include "skins/skin_loader.h"
#include "skin_folder_fixture.h"
#include "skins/apply_skin_event.h"
#include "skins/skin_artist.h"
#include "skins/skin_manager.h"
#include "skins/skin_picture_loader.h"
#include "skins/themed_skin_writer.h"

#include <gtest/gtest.h>

#include <QImageReader>
#include <QWidget>
#include <QtEndian>

#include <cstdint>
#include <fstream>
#include <random>
#include <tuple>

namespace lumora {
namespace {

using test::SkinFolders;

TEST(SkinColour, TextsParseLikeTheCLibraryWithLowEightBits) {
    const std::pair<const char*, SkinColour> cases[] = {{"255,0,0", SkinRgb(255, 0, 0)},
                                                        {",,200", SkinRgb(0, 0, 200)},
                                                        {"10 , 20 , 30", SkinRgb(10, 20, 30)},
                                                        {"300,-1,7x", SkinRgb(44, 255, 7)},
                                                        {"1,2", NoColour},
                                                        {"", NoColour},
                                                        {"a,b,c", SkinRgb(0, 0, 0)}};
    for (const auto& [text, colour] : cases) EXPECT_EQ(ParseSkinColour(text), colour) << text;
    EXPECT_EQ(ToQColor(SkinRgb(10, 20, 30)), QColor(10, 20, 30));
    EXPECT_FALSE(ToQColor(NoColour).isValid());
}

// A name alone gives a skin without pictures and in black.
TEST(SkinLoader, ANameIsAllASkinNeedsAndIsCutToSixtyFourCharacters) {
    SkinFolders skins;
    const auto skin = SkinLoader::Load(skins.Add("bare", "[general]\nname=X\n"), 1.0);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->name, "X");
    for (const SkinItem& item : SkinItems()) {
        EXPECT_EQ(skin->Picture(item.id), nullptr) << item.id;
        const bool colour = item.kind == SkinItemKind::kColour, font = item.kind == SkinItemKind::kFont;
        EXPECT_EQ(colour ? skin->Values().colours[item.id] : 0u, 0u) << item.id;
        EXPECT_EQ(font ? skin->Values().fonts[item.id] : SkinFont{}, SkinFont{}) << item.id;
    }
    EXPECT_EQ(skin->preview.background, NoColour);  // the preview frame has no background item

    // Folders without a name are no skins; names are cut to 64 characters.
    EXPECT_FALSE(SkinLoader::Load(skins.Add("empty-name", "[general]\nname=\n"), 1.0));
    EXPECT_FALSE(SkinLoader::Load(skins.Add("no-general", "[slider]\nborder=1,2,3\n"), 1.0));
    std::filesystem::create_directories(skins.root() / "no-ini");
    std::filesystem::create_directories(skins.root() / "ini-is-folder" / "skin.ini");
    EXPECT_FALSE(SkinLoader::Load(skins.root() / "no-ini", 1.0) ||
                 SkinLoader::Load(skins.root() / "ini-is-folder", 1.0));
    const std::string name = QString(70, QChar(0xE9)).toStdString();  // é, two bytes each
    const auto named = SkinLoader::Load(skins.Add("long", "[general]\nname=" + name + "\n"), 1.0);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->name, QString(64, QChar(0xE9)));
}

TEST(SkinLoader, ValuesAreReadIntoTheirGroupsAndSharperPicturesServeHigherRatios) {
    SkinFolders skins;
    const auto folder = skins.Add(
        "full",
        "[General]\nNAME = Blue \n[slider]\nborder=10 , 20 , 30\nbackground=1,2\nmarks=\n[options_tabs_window]\n"
        "background=9,8,7\ntopleft=red.png\ntop=red.png\n[zoom]\ntext_fontface=A Very Long Font Face Name Beyond "
        "Thirty One\ntext_fontsize=12\ntext_bold=2\ntext_underline=0\n[main_window]\nclose_normal=big.png\n"
        "caption=missing.png\n[menu]\noptions_over=red.png\n");
    SkinFolders::WritePicture(folder / "red.png", 10, 10, Qt::red);
    SkinFolders::WritePicture(folder / "big.png", 100, 100, QColor(0, 0, 255));
    const auto skin = SkinLoader::Load(folder, 1.0);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->name, "Blue");
    // Malformed and empty colours are none and black.
    EXPECT_EQ(std::tuple(skin->slider.border, skin->slider.background, skin->slider.marks, skin->tabs.background,
                         skin->tabsWindow.background),
              std::tuple(SkinRgb(10, 20, 30), NoColour, 0u, SkinRgb(9, 8, 7), SkinRgb(9, 8, 7)));
    EXPECT_EQ(skin->tabsWindow.topLeft, nullptr);  // the tabs window has no such item
    ASSERT_TRUE(skin->tabsWindow.top);
    EXPECT_EQ(skin->tabsWindow.top->size(), QSize(10, 10));
    EXPECT_EQ(skin->zoom.font, (SkinFont{"A Very Long Font Face Name Beyo", 12, 1, 0, 0}));

    // Any picture is stored at its item's size; a missing one is none.
    ASSERT_TRUE(skin->mainWindow.close.normal);
    EXPECT_EQ(std::tuple(skin->mainWindow.close.normal->size(), skin->mainWindow.close.normal->pixelColor(10, 10)),
              std::tuple(QSize(20, 20), QColor(0, 0, 255)));
    EXPECT_EQ(skin->mainWindow.caption, nullptr);
    // Keys that repeat across sections land in their own group only.
    EXPECT_TRUE(skin->menu.options.over && !skin->showOptions.over);

    // Sharper pictures serve higher pixel ratios.
    const auto sharp =
        skins.Add("sharp", "[general]\nname=S\n[main_window]\nclose_normal=c.png\nminimize_normal=m.png\n");
    SkinFolders::WritePicture(sharp / "c.png", 20, 20, Qt::red);
    SkinFolders::WritePicture(sharp / "c@2x.png", 40, 40, Qt::blue);
    SkinFolders::WritePicture(sharp / "m.png", 20, 20, Qt::green);
    EXPECT_EQ(SkinLoader::Load(sharp, 1.0)->mainWindow.close.normal->pixelColor(0, 0), QColor(Qt::red));
    const auto doubled = SkinLoader::Load(sharp, 2.0);
    const QImage& close = *doubled->mainWindow.close.normal;
    EXPECT_EQ(std::tuple(close.size(), close.devicePixelRatio(), close.pixelColor(0, 0)),
              std::tuple(QSize(40, 40), 2.0, QColor(Qt::blue)));
    // Without a sharper file the ordinary one is scaled up.
    const QImage& minimize = *doubled->mainWindow.minimize.normal;
    EXPECT_EQ(std::tuple(minimize.size(), minimize.pixelColor(20, 20)), std::tuple(QSize(40, 40), QColor(Qt::green)));
}

std::uint32_t Crc32(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<std::uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray BigEndian(std::uint32_t value) {
    value = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&value), 4);
}

// A valid black-and-white PNG of side x side pixels: 50 MB of pixels for a side of 20,000,
// in a file of a few kilobytes, that any 32-bit conversion turns into gigabytes.
void WriteHugeMonochromePng(const std::filesystem::path& file, std::uint32_t side) {
    const auto chunk = [](const char* type, const QByteArray& data) {
        const QByteArray typed = QByteArray(type) + data;
        return BigEndian(static_cast<std::uint32_t>(data.size())) + typed + BigEndian(Crc32(typed));
    };
    const QByteArray header = BigEndian(side) + BigEndian(side) + QByteArray("\x01\x00\x00\x00\x00", 5);
    const QByteArray rows(static_cast<qsizetype>(side) * (1 + (side + 7) / 8), '\0');
    const QByteArray pixels = qCompress(rows, 9).mid(4);  // a zlib stream after Qt's length prefix
    std::ofstream out(file, std::ios::binary);
    const QByteArray png =
        QByteArray("\x89PNG\r\n\x1a\n") + chunk("IHDR", header) + chunk("IDAT", pixels) + chunk("IEND", {});
    out.write(png.constData(), png.size());
}

TEST(SkinLoader, HostileFoldersLoadWhatTheyCanWithoutCrashing) {
    SkinFolders skins;
    // Qt refuses decodes above its own allocation limit, which any part of a program may
    // raise; the loader's check must hold without it.
    const int qtLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    const auto folder = skins.Add("hostile",
                                  "[general]\nname=H\n[main_window]\nbackground=huge.png\nclose_normal=folder.png\n"
                                  "caption=ok.png\nminimize_normal=notapicture.png\n");
    WriteHugeMonochromePng(folder / "huge.png", 20000);
    ASSERT_EQ(QImageReader(QString::fromStdString((folder / "huge.png").string())).size(), QSize(20000, 20000));
    std::filesystem::create_directories(folder / "folder.png");
    test::WriteFileText((folder / "notapicture.png").string(), "not a picture at all");
    SkinFolders::WritePicture(folder / "ok.png", 180, 25, Qt::yellow);
    const auto skin = SkinLoader::Load(folder, 1.0);
    QImageReader::setAllocationLimit(qtLimit);
    ASSERT_TRUE(skin);
    EXPECT_FALSE(skin->mainWindow.background || skin->mainWindow.close.normal || skin->mainWindow.minimize.normal);
    EXPECT_NE(skin->mainWindow.caption, nullptr);

    // Binary garbage: whatever it reads as, the loader survives it.
    std::string garbage(64 * 1024, '\0');
    std::mt19937 random(12345);
    for (char& byte : garbage) byte = static_cast<char>(random());
    (void)SkinLoader::Load(skins.Add("garbage", garbage), 1.0);
    EXPECT_TRUE(SkinLoader::Load(
        skins.Add("garbage-named", "[general]\nname=G\n[menu]\nfile_normal=" + garbage.substr(0, 200) + "\n" + garbage),
        1.0));
    // A description too large to be one is not read at all.
    EXPECT_FALSE(
        SkinLoader::Load(skins.Add("too-large", "[general]\nname=L\n" + std::string(SkinIni::kMaxFileSize, ';')), 1.0));
}

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
    EXPECT_EQ(manager.Get(1), nullptr);
    EXPECT_EQ(manager.Get(-1), nullptr);

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
