// The skin editor's rules on real skin folders: names and folders of new skins, which
// controls each item kind enables, and what Set file, Remove, the colour and the font do
// to skin.ini and the pictures, failures included. Every message box is captured.
#include "skins/skin_editor.h"
#include "platform/message_recorder.h"
#include "skin_folder_fixture.h"
#include "skins/skin_ini.h"
#include "skins/skin_loader.h"
#include "skins/skin_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace lumora {
namespace {

namespace fs = std::filesystem;
using E = SkinEditor;

constexpr char kCopyFailed[] = "Couldn't copy file to skin's folder!";
constexpr int kCaption = 0;    // bitmap, main_window/caption
constexpr int kBorder = 2;     // colour, main_window/border
constexpr int kZoomFont = 94;  // font, section zoom
constexpr int kZoomCategory = 9;

class SkinEditorTest : public ::testing::Test {
protected:
    SkinEditorTest() {
        fs::create_directories(skins_.root());
        manager_.SetProgramFolder(skins_.programFolder());
        manager_.SetUserSkinsRoot(user_.path().string() + "/skins/");
    }

    // A skin folder "Mine" with its caption picture set to `caption` (when given), chosen
    // in the editor with its caption item shown.
    fs::path OpenMine(const std::string& caption = "") {
        std::string ini = "[general]\nname=Mine\n";
        if (!caption.empty()) ini += "[main_window]\ncaption=" + caption + "\n";
        const fs::path folder = skins_.Add("Mine", ini);
        if (!caption.empty()) test::SkinFolders::WritePicture(folder / caption, 180, 25, Qt::red);
        editor_.Open();
        EXPECT_EQ(editor_.SelectedFolder(), folder.string() + "/");
        return folder;
    }
    std::string Value(const fs::path& folder, const char* section, std::string_view key) const {
        return ReadSkinValue(folder / "skin.ini", section, key);
    }
    // The messages shown: their texts and flags.
    using Shown = std::vector<std::pair<std::string, unsigned>>;
    Shown Messages() const {
        Shown shown;
        for (const MessageRequest& message : messages_.Messages()) shown.emplace_back(message.text, message.flags);
        return shown;
    }
    static std::size_t FileCount(const fs::path& folder) {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    test::SkinFolders skins_;
    test::TempDir user_;
    test::TempDir elsewhere_;
    SkinManager manager_;
    MessageRecorder messages_{id::kYes};
    SkinEditor editor_{manager_, nullptr};
};

TEST_F(SkinEditorTest, NewSkinNamesAreCheckedAnExistingFolderIsLeftAloneAndTheUsersFolderServesAnInstall) {
    const std::string badName = "Skin name couldn't be empty and should be maximum of 64 characters.";
    editor_.Open();
    EXPECT_FALSE(editor_.CreateSkin(" \t  "));
    EXPECT_FALSE(editor_.CreateSkin(std::string(65, 'x')));
    EXPECT_EQ(Messages(), (Shown{{badName, mb::kIconWarning}, {badName, mb::kIconWarning}}));
    EXPECT_EQ(FileCount(skins_.root()), 0u);

    // Blanks and tabs around the name are not part of it; 64 characters are allowed.
    messages_.Clear();
    const std::string longest(64, 'y');
    ASSERT_TRUE(editor_.CreateSkin("\t " + longest + "  "));
    EXPECT_EQ(Messages(), (Shown{{"Skin '" + longest +
                                      "' has been created. You can now select it from the drop-down list and "
                                      "configure its items.",
                                  mb::kIconInformation}}));
    EXPECT_EQ(Value(skins_.root() / longest, "general", "name"), longest);
    // The list is made anew and nothing is chosen, so the item controls wait for a choice.
    ASSERT_EQ(editor_.Skins().size(), 1u);
    EXPECT_EQ(editor_.SelectedSkin(), -1);
    for (const int id : {E::kIdCategories, E::kIdItems, E::kIdSetFile, E::kIdSwatch, E::kIdFontChooser}) {
        EXPECT_FALSE(editor_.IsEnabled(id)) << id;
    }

    // A folder of that name exists: refused, its skin.ini untouched.
    messages_.Clear();
    skins_.Add("Taken", "[general]\nname=Other\n");
    EXPECT_FALSE(editor_.CreateSkin("Taken"));
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_TRUE(
        messages_.Messages()[0].text.starts_with("Couldn't create folder for new skin! Maybe skin with name "
                                                 "specified already exists or skins directory corrupted."));
    EXPECT_EQ(test::ReadFileText((skins_.root() / "Taken" / "skin.ini").string()), "[general]\nname=Other\n");

    // A folder whose skin.ini names no skin is no skin.
    skins_.Add("Nameless", "[main_window]\nborder=1,2,3\n");
    editor_.Open();
    ASSERT_EQ(editor_.Skins().size(), 2u);
    EXPECT_EQ(std::tuple(editor_.Skins()[0].name, editor_.Skins()[1].name), std::tuple("Other", longest));

    // An installed program's folder has no skins/ the user may write: new skins go to the
    // user's folder, and the skin manager loads both, the program's first.
    fs::remove_all(skins_.root());
    editor_.Open();
    ASSERT_TRUE(editor_.CreateSkin("Own"));
    EXPECT_EQ(Value(user_.path() / "skins" / "Own", "general", "name"), "Own");
    skins_.Add("Shipped", "[general]\nname=Shipped\n");
    manager_.LoadAllSkins();
    ASSERT_EQ(manager_.Count(), 3);
    EXPECT_EQ(std::tuple(manager_.Get(1)->name, manager_.Get(2)->name), std::tuple(QString("Shipped"), QString("Own")));
}

TEST_F(SkinEditorTest, ControlsAndDropsFollowTheItemKindAndFontsAreWrittenWhole) {
    const fs::path mine = OpenMine();
    ASSERT_EQ(editor_.SelectedItem(), kCaption);
    EXPECT_EQ(editor_.View().description, "Caption image. Image size - 180x25 pixels.");
    EXPECT_TRUE(editor_.IsEnabled(E::kIdSetFile) && editor_.IsEnabled(E::kIdCurrentImage) && editor_.AcceptsDrops());
    EXPECT_FALSE(editor_.IsEnabled(E::kIdSwatch) || editor_.IsEnabled(E::kIdFontText));

    // Two files at once are refused.
    const fs::path picture = elsewhere_.path() / "a.bmp";
    test::SkinFolders::WritePicture(picture, 4, 4, Qt::blue);
    editor_.Drop({picture.string(), picture.string()});
    EXPECT_EQ(Messages(), (Shown{{"Only single file could be dropped!", mb::kIconInformation}}));
    EXPECT_EQ(Value(mine, "main_window", "caption"), "");

    // Colour and font items take no drops.
    for (const auto& [category, item] : {std::pair{0, kBorder}, std::pair{kZoomCategory, kZoomFont}}) {
        editor_.SelectCategory(category);
        editor_.SelectItem(item);
        ASSERT_EQ(editor_.SelectedItem(), item);
        EXPECT_FALSE(editor_.AcceptsDrops() || editor_.IsEnabled(E::kIdSetFile));
        EXPECT_EQ(std::tuple(editor_.IsEnabled(E::kIdSwatch), editor_.IsEnabled(E::kIdFontChooser)),
                  std::tuple(item == kBorder, item == kZoomFont));
        editor_.Drop({picture.string()});
    }
    EXPECT_EQ(FileCount(mine), 1u);  // skin.ini only

    // The zoom font, chosen last: written with every flag, shown with its size clamped to 8
    // to 72 points (a colour written and loaded again is the editor window's test).
    EXPECT_EQ(editor_.View().fontText, "<not specified>");
    editor_.SetFont({"Tahoma", 8, 1, 0, 0});
    EXPECT_EQ(std::tuple(SkinLoader::Load(mine, 1.0)->zoom.font, editor_.View().fontText),
              std::tuple(SkinFont{"Tahoma", 8, 1, 0, 0}, std::string("Tahoma, 8pt, bold")));
    editor_.SetFont({"Serif", 200, 0, 1, 1});
    EXPECT_EQ(std::tuple(SkinLoader::Load(mine, 1.0)->zoom.font, editor_.View().fontText),
              std::tuple(SkinFont{"Serif", 200, 0, 1, 1}, std::string("Serif, 72pt, italic, underline")));
    EXPECT_EQ(messages_.Messages().size(), 1u);
}

TEST_F(SkinEditorTest, SetFileCopiesNamesOrKeepsTheOldPictureAndRemoveAsksFirst) {
    const fs::path mine = OpenMine("old.bmp");
    const auto caption = [&] { return Value(mine, "main_window", "caption"); };

    // A picture of the skin folder, its path written in other letter case, is only named.
    test::SkinFolders::WritePicture(mine / "inside.bmp", 180, 25, Qt::green);
    std::string shouting = mine.string();
    for (char& c : shouting) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    editor_.SetFile(shouting + "/inside.bmp");
    EXPECT_EQ(caption(), "inside.bmp");
    EXPECT_TRUE(fs::exists(mine / "old.bmp") && FileCount(mine) == 3);
    editor_.SetFile((mine / "old.bmp").string());
    EXPECT_TRUE(messages_.Messages().empty());

    // Another file of the same name is in the skin: refused, the old picture kept.
    const fs::path clash = elsewhere_.path() / "inside.bmp";
    test::SkinFolders::WritePicture(clash, 180, 25, Qt::yellow);
    editor_.SetFile(clash.string());
    EXPECT_EQ(caption(), "old.bmp");
    EXPECT_TRUE(fs::exists(mine / "old.bmp"));
    EXPECT_EQ(QImage(QString::fromStdString((mine / "inside.bmp").string())).pixelColor(0, 0), QColor(Qt::green));

    // A copy that fails half-way (the file size limit cuts it) leaves nothing behind.
    const fs::path large = elsewhere_.path() / "large.bmp";
    test::SkinFolders::WritePicture(large, 400, 400, Qt::cyan);
    test::WithFileSizeLimit(64 * 1024, [&] { editor_.SetFile(large.string()); });
    EXPECT_EQ(std::tuple(caption(), FileCount(mine)), std::tuple("old.bmp", 3u));  // no temporary file left
    ASSERT_EQ(messages_.Messages().size(), 2u);
    for (const MessageRequest& message : messages_.Messages()) {
        EXPECT_EQ(message.text.rfind(kCopyFailed, 0), 0u) << message.text;
        EXPECT_EQ(message.flags, mb::kIconWarning);
    }
    EXPECT_EQ(editor_.View().fileName, "old.bmp");

    // A new picture from elsewhere is copied in; the old one goes once it is in place.
    const fs::path fresh = elsewhere_.path() / "fresh.bmp";
    test::SkinFolders::WritePicture(fresh, 180, 25, Qt::magenta);
    editor_.SetFile(fresh.string());
    EXPECT_TRUE(caption() == "fresh.bmp" && !fs::exists(mine / "old.bmp"));
    EXPECT_EQ(test::ReadFileBytes(fresh.string()), test::ReadFileBytes((mine / "fresh.bmp").string()));
    EXPECT_EQ(editor_.View().picturePath, (mine / "fresh.bmp").string());

    // Remove asks first, and deletes the picture only when told yes.
    messages_.Clear();
    messages_.SetAnswer(id::kNo);
    editor_.Remove();
    EXPECT_EQ(Messages(), (Shown{{"Are you sure you want to remove this file?", mb::kYesNo | mb::kIconQuestion}}));
    EXPECT_TRUE(fs::exists(mine / "fresh.bmp"));
    messages_.SetAnswer(id::kYes);
    editor_.Remove();
    EXPECT_EQ(std::tuple(fs::exists(mine / "fresh.bmp"), caption(), editor_.View().fileName),
              std::tuple(false, std::string(), std::string()));
    editor_.Remove();  // nothing left to remove: no question
    EXPECT_EQ(messages_.Messages().size(), 2u);
}

}  // namespace
}  // namespace lumora
