// The skin editor's window, offscreen: a skin made and filled in through its controls
// (the choosers answered by the test) loads at the next start with exactly those values,
// and the preview follows every change.
#include "skins/skin_editor_dialog.h"
#include "platform/message_recorder.h"
#include "skin_folder_fixture.h"
#include "skins/skin_editor_preview.h"
#include "skins/skin_image_box.h"
#include "skins/skin_manager.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <tuple>

namespace lumora {
namespace {

namespace fs = std::filesystem;
using E = SkinEditor;

class SkinEditorDialogTest : public ::testing::Test {
protected:
    SkinEditorDialogTest() {
        fs::create_directories(skins_.root());
        manager_.SetProgramFolder(skins_.programFolder());
        manager_.SetUserSkinsRoot("");
    }

    // Choosers that answer with the test's picture, colour and font.
    SkinEditorDialog::Choosers Answers() {
        return {[this](QWidget*) { return QString::fromStdString(picture_); },
                [this](QWidget*, QColor initial, SkinEditorDialog::CustomColours& custom) {
                    offered_ = initial;
                    offeredCustom_ = custom[0];
                    custom[0] = Qt::red;  // kept for the next opening
                    return colour_;
                },
                [this](QWidget*, const QFont&) { return std::optional<QFont>(font_); }};
    }
    static void Choose(SkinEditorDialog& dialog, int list, int data) {
        auto* combo = dialog.Control<QComboBox>(list);
        combo->setCurrentIndex(combo->findData(data));
    }

    test::SkinFolders skins_;
    test::TempDir elsewhere_;
    SkinManager manager_;
    MessageRecorder messages_;
    std::string picture_;
    QColor colour_;
    QColor offered_;
    QColor offeredCustom_;
    QFont font_;
};

TEST_F(SkinEditorDialogTest, ASkinMadeInTheWindowLoadsAtTheNextStartWithWhatWasSet) {
    SkinEditorDialog dialog(manager_, nullptr, Answers());
    EXPECT_EQ(std::tuple(dialog.windowTitle(), dialog.Control(E::kIdItems)->isEnabled(), dialog.Preview().Shown()),
              std::tuple("Skin editor", false, nullptr));

    dialog.show();
    dialog.Control(E::kIdName)->setFocus();
    QTest::keyClick(dialog.Control(E::kIdName), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(messages_.Messages().empty()) << messages_.Messages()[0].text;
    dialog.Control<QLineEdit>(E::kIdName)->setText(" Sunset ");
    dialog.Control<QPushButton>(E::kIdCreate)->click();
    EXPECT_EQ(dialog.Control<QLineEdit>(E::kIdName)->text(), "");
    auto* skinsList = dialog.Control<QComboBox>(E::kIdSkins);
    ASSERT_EQ(std::tuple(skinsList->count(), skinsList->currentIndex()), std::tuple(1, -1));
    skinsList->setCurrentIndex(0);
    ASSERT_NE(dialog.Preview().Shown(), nullptr);
    EXPECT_EQ(std::tuple(dialog.Preview().Shown()->name, dialog.acceptDrops()), std::tuple("Sunset", true));

    // The caption: a picture larger than its box, centred and cut by it.
    picture_ = elsewhere_.file("caption.png");
    test::SkinFolders::WritePicture(picture_, 300, 40, QColor(250, 120, 40));
    dialog.Control<QPushButton>(E::kIdSetFile)->click();
    EXPECT_EQ(dialog.Control<QLineEdit>(E::kIdFileName)->text(), "caption.png");
    EXPECT_EQ(dialog.Control<SkinImageBox>(E::kIdCurrentImage)->Picture().size(), QSize(300, 40));
    EXPECT_FALSE(dialog.Control<SkinImageBox>(E::kIdDefaultImage)->Picture().isNull());
    ASSERT_NE(dialog.Preview().Shown()->mainWindow.caption, nullptr);

    // The border colour, offered as it stands, with the custom colours kept.
    Choose(dialog, E::kIdItems, 2);
    EXPECT_FALSE(dialog.acceptDrops());
    colour_ = QColor(0, 128, 255);
    dialog.Control<QPushButton>(E::kIdColourChooser)->click();
    EXPECT_EQ(dialog.Preview().Shown()->mainWindow.border, SkinRgb(0, 128, 255));
    EXPECT_EQ(dialog.Control<QLineEdit>(E::kIdSwatch)->palette().color(QPalette::Base), colour_);
    colour_ = QColor();  // cancelled: nothing written
    dialog.Control<QPushButton>(E::kIdColourChooser)->click();
    EXPECT_EQ(std::tuple(offered_, offeredCustom_), std::tuple(QColor(0, 128, 255), QColor(Qt::red)));

    // The caption line, and the zoom font in tenths of a point.
    Choose(dialog, E::kIdItems, 3);
    colour_ = QColor(239, 189, 49);
    dialog.Control<QPushButton>(E::kIdColourChooser)->click();
    Choose(dialog, E::kIdCategories, 9);
    Choose(dialog, E::kIdItems, 94);
    font_ = QFont("Tahoma");
    font_.setPointSizeF(10.5);
    font_.setItalic(true);
    dialog.Control<QPushButton>(E::kIdFontChooser)->click();
    EXPECT_EQ(dialog.Control<QLineEdit>(E::kIdFontText)->text(), "Tahoma, 10pt, italic");
    EXPECT_TRUE(dialog.ChangedSkins());
    EXPECT_EQ(messages_.Messages().size(), 1u);  // "has been created" only

    SkinManager next;
    next.SetProgramFolder(skins_.programFolder());
    next.SetUserSkinsRoot("");
    next.LoadAllSkins();
    ASSERT_EQ(next.Count(), 2);
    const Skin& sunset = *next.Get(1);
    EXPECT_EQ(std::tuple(sunset.name, sunset.mainWindow.border, sunset.mainWindow.captionLine, sunset.zoom.font),
              std::tuple("Sunset", SkinRgb(0, 128, 255), SkinRgb(239, 189, 49), SkinFont{"Tahoma", 10, 0, 1, 0}));
    // One picture (the caption, whose look the end-to-end test checks) and nothing else.
    int pictures = 0;
    for (const SkinItem& item : SkinItems()) pictures += sunset.Picture(item.id) != nullptr;
    EXPECT_EQ(std::tuple(pictures, sunset.listView.font, sunset.slider.border), std::tuple(1, SkinFont{}, 0u));
}

}  // namespace
}  // namespace lumora
