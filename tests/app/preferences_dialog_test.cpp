#include "app/preferences_dialog.h"
#include "platform/desktop_entry.h"
#include "preferences_test_fixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace lumora::test {
namespace {

class PreferencesDialogTest : public PreferencesTest {
protected:
    std::filesystem::path AutostartFile() const { return dir_.path() / "autostart" / "lumora.desktop"; }
    AutostartEntry Autostart(const std::string& program = "/opt/Lumora Apps/lumora") const {
        return {AutostartFile(), program};
    }
    std::string Settings() const { return ReadFileText(dir_.file("lumora.reg")); }
    std::optional<std::string> AutostartExec() const {
        return DesktopEntry::Parse(ReadFileText(AutostartFile().string())).Get("Exec");
    }

    static QCheckBox* Box(const PreferencesDialog& dialog, int id) { return dialog.Control<QCheckBox>(id); }
    static void Click(PreferencesDialog& dialog, int id) {
        dialog.show();
        QTest::mouseClick(dialog.Control<QPushButton>(id), Qt::LeftButton);
    }
};

// The boxes show the stored flags and the autostart entry; a flag of the wrong type reads
// as off, and so does an entry the desktop has hidden. Cancel (as Esc and the close button
// in every template dialog) writes nothing.
TEST_F(PreferencesDialogTest, BoxesShowTheStoredPreferencesAndCancelWritesNothing) {
    const std::pair<int, const char*> boxes[] = {{1042, "Remember last source used when launching Lumora"},
                                                 {1043, "Remember my filters/effects settings between sessions"},
                                                 {1041, "Automatically launch Lumora at login"}};
    {
        PreferencesDialog dialog(Autostart());
        EXPECT_EQ(std::tuple(dialog.windowTitle(), dialog.Control<QPushButton>(1)->isDefault()),
                  std::tuple("Preferences", true));
        for (const auto& [id, text] : boxes) {
            ASSERT_NE(Box(dialog, id), nullptr) << id;
            EXPECT_EQ(std::tuple(Box(dialog, id)->text(), Box(dialog, id)->isChecked()), std::tuple(text, false));
        }
    }
    SetDword(reg::kRememberLastSource, 1);
    SetDword(reg::kRememberFilterSettings, 7);
    ASSERT_TRUE(Autostart().Enable());
    for (int id : {1041, 1042, 1043}) EXPECT_TRUE(Box(PreferencesDialog(Autostart()), id)->isChecked()) << id;
    SetString(reg::kRememberLastSource, "1");
    WriteFileText(AutostartFile().string(), "[Desktop Entry]\nType=Application\nExec=lumora\nHidden=true\n");
    const std::string before = Settings();
    PreferencesDialog dialog(Autostart());
    EXPECT_EQ(
        std::tuple(Box(dialog, 1042)->isChecked(), Box(dialog, 1043)->isChecked(), Box(dialog, 1041)->isChecked()),
        std::tuple(false, true, false));
    for (int id : {1041, 1042, 1043}) Box(dialog, id)->toggle();
    Click(dialog, 2);
    EXPECT_EQ(std::tuple(dialog.isVisible(), dialog.result(), Settings(), AutostartExec()),
              std::tuple(false, 2, before, "lumora"));
}

TEST_F(PreferencesDialogTest, OkWritesThePreferencesAndTheAutostartEntryAndForgetsTheLastSource) {
    PreferencesDialog dialog(Autostart());
    for (int id : {1041, 1042, 1043}) Box(dialog, id)->setChecked(true);
    Click(dialog, 1);
    EXPECT_EQ(std::tuple(dialog.isVisible(), dialog.result()), std::tuple(false, 1));
    EXPECT_EQ(std::tuple(Stored(reg::kRememberLastSource)->data, Stored(reg::kRememberFilterSettings)->data),
              std::tuple(std::vector<std::uint8_t>{1, 0, 0, 0}, std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(AutostartExec(), "\"/opt/Lumora Apps/lumora\"");

    // A hidden entry is replaced by a visible one when the box is checked again.
    WriteFileText(AutostartFile().string(), "[Desktop Entry]\nExec=/old/lumora\nHidden=true\n");
    PreferencesDialog again(Autostart("/usr/lib/lumora/lumora"));
    Box(again, 1041)->setChecked(true);
    Click(again, 1);
    EXPECT_EQ(std::tuple(AutostartExec(), Autostart().IsEnabled()), std::tuple("/usr/lib/lumora/lumora", true));

    // OK forgets the last source and removes an unchecked entry.
    SetDword(reg::kRememberLastSource, 1);
    SetDword(reg::kRememberFilterSettings, 1);
    SetDword(reg::kLastSourceType, kSourceCaptureDevice);
    SetString(reg::kLastSourceId, "/dev/v4l/by-id/usb-cam-video-index0");
    ASSERT_TRUE(Autostart().Enable());
    PreferencesDialog forgetting(Autostart());
    Box(forgetting, 1043)->setChecked(false);
    Box(forgetting, 1041)->setChecked(false);
    Click(forgetting, 1);
    EXPECT_EQ(std::tuple(Stored(reg::kRememberLastSource)->data, Stored(reg::kRememberFilterSettings)->data),
              std::tuple(std::vector<std::uint8_t>{1, 0, 0, 0}, std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(std::tuple(GetLastSourceType(), GetLastSourceId()), std::tuple(kSourceNone, ""));
    EXPECT_FALSE(std::filesystem::exists(AutostartFile()));

    // Without the program's path autostart ends up off, even with the box checked.
    ASSERT_TRUE(Autostart().Enable());
    PreferencesDialog pathless(Autostart(""));
    EXPECT_TRUE(Box(pathless, 1041)->isChecked());
    Click(pathless, 1);
    EXPECT_FALSE(std::filesystem::exists(AutostartFile()));
}

}  // namespace
}  // namespace lumora::test
