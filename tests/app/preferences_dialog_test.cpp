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

TEST_F(PreferencesDialogTest, ControlsStandAtTheirTemplatePlaces) {
    PreferencesDialog dialog(Autostart());
    const DialogUnits& du = dialog.units();
    EXPECT_EQ(dialog.windowTitle(), "Preferences");
    EXPECT_EQ(dialog.size(), du.ToPixels(214, 68));
    struct Expected {
        int id;
        DialogRect rect;
        const char* text;
    };
    for (const Expected& control : {
             Expected{1042, {6, 6, 203, 10}, "Remember last source used when launching Lumora"},
             Expected{1043, {6, 18, 193, 10}, "Remember my filters/effects settings between sessions"},
             Expected{1041, {6, 30, 194, 10}, "Automatically launch Lumora at login"},
         }) {
        QCheckBox* box = Box(dialog, control.id);
        ASSERT_NE(box, nullptr) << control.id;
        EXPECT_EQ(box->geometry(), du.ToPixels(control.rect)) << control.id;
        EXPECT_EQ(box->text(), control.text);
    }
    for (const Expected& control : {Expected{1, {51, 48, 50, 14}, "OK"}, Expected{2, {111, 48, 50, 14}, "Cancel"}}) {
        QPushButton* button = dialog.Control<QPushButton>(control.id);
        ASSERT_NE(button, nullptr) << control.id;
        EXPECT_EQ(button->geometry(), du.ToPixels(control.rect));
        EXPECT_EQ(button->text(), control.text);
        EXPECT_EQ(button->isDefault(), control.id == 1);
    }
}

TEST_F(PreferencesDialogTest, BoxesShowTheStoredPreferences) {
    for (int id : {1041, 1042, 1043}) EXPECT_FALSE(Box(PreferencesDialog(Autostart()), id)->isChecked()) << id;
    SetDword(reg::kRememberLastSource, 1);
    SetDword(reg::kRememberFilterSettings, 7);
    ASSERT_TRUE(Autostart().Enable());
    for (int id : {1041, 1042, 1043}) EXPECT_TRUE(Box(PreferencesDialog(Autostart()), id)->isChecked()) << id;
    // A flag of the wrong type reads as off; so does an entry the desktop has hidden.
    SetString(reg::kRememberLastSource, "1");
    WriteFileText(AutostartFile().string(), "[Desktop Entry]\nType=Application\nExec=lumora\nHidden=true\n");
    PreferencesDialog dialog(Autostart());
    EXPECT_FALSE(Box(dialog, 1042)->isChecked());
    EXPECT_TRUE(Box(dialog, 1043)->isChecked());
    EXPECT_FALSE(Box(dialog, 1041)->isChecked());
}

TEST_F(PreferencesDialogTest, OkWritesThePreferencesInOrderAndTheAutostartEntry) {
    PreferencesDialog dialog(Autostart());
    for (int id : {1041, 1042, 1043}) Box(dialog, id)->setChecked(true);
    Click(dialog, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
    // The store keeps values in the order they were first written.
    const std::string settings = Settings();
    const auto first = settings.find("\"RememberLastSource\"=dword:00000001");
    const auto second = settings.find("\"LastSourceType\"=dword:00000000");
    const auto third = settings.find("\"LastSourceID\"=\"\"");
    const auto fourth = settings.find("\"RememberFilterSettings\"=dword:00000001");
    ASSERT_NE(fourth, std::string::npos) << settings;
    EXPECT_TRUE(first < second && second < third && third < fourth) << settings;
    EXPECT_EQ(AutostartExec(), "\"/opt/Lumora Apps/lumora\"");

    // A hidden entry is replaced by a visible one when the box is checked again.
    WriteFileText(AutostartFile().string(), "[Desktop Entry]\nExec=/old/lumora\nHidden=true\n");
    PreferencesDialog again(Autostart("/usr/lib/lumora/lumora"));
    Box(again, 1041)->setChecked(true);
    Click(again, 1);
    EXPECT_EQ(AutostartExec(), "/usr/lib/lumora/lumora");
    EXPECT_TRUE(Autostart().IsEnabled());
}

TEST_F(PreferencesDialogTest, OkForgetsTheLastSourceAndRemovesAnUncheckedEntry) {
    SetDword(reg::kRememberLastSource, 1);
    SetDword(reg::kRememberFilterSettings, 1);
    SetDword(reg::kLastSourceType, kSourceCaptureDevice);
    SetString(reg::kLastSourceId, "/dev/v4l/by-id/usb-cam-video-index0");
    ASSERT_TRUE(Autostart().Enable());
    PreferencesDialog dialog(Autostart());
    Box(dialog, 1043)->setChecked(false);
    Box(dialog, 1041)->setChecked(false);
    Click(dialog, 1);
    EXPECT_EQ(Stored(reg::kRememberLastSource)->data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(Stored(reg::kRememberFilterSettings)->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(GetLastSourceType(), kSourceNone);
    EXPECT_EQ(GetLastSourceId(), "");
    EXPECT_FALSE(std::filesystem::exists(AutostartFile()));

    // Without the program's path autostart ends up off, even with the box checked.
    ASSERT_TRUE(Autostart().Enable());
    PreferencesDialog pathless(Autostart(""));
    EXPECT_TRUE(Box(pathless, 1041)->isChecked());
    Click(pathless, 1);
    EXPECT_FALSE(std::filesystem::exists(AutostartFile()));
}

TEST_F(PreferencesDialogTest, CancelEscAndCloseWriteNothing) {
    SetDword(reg::kRememberLastSource, 1);
    SetDword(reg::kLastSourceType, kSourceDesktop);
    const std::string before = Settings();
    for (int way = 0; way < 3; ++way) {
        PreferencesDialog dialog(Autostart());
        for (int id : {1041, 1042, 1043}) Box(dialog, id)->toggle();
        dialog.show();
        if (way == 0) Click(dialog, 2);
        if (way == 1) QTest::keyClick(&dialog, Qt::Key_Escape);
        if (way == 2) dialog.close();
        EXPECT_FALSE(dialog.isVisible()) << way;
        EXPECT_EQ(dialog.result(), 2) << way;
        EXPECT_EQ(Settings(), before) << way;
        EXPECT_FALSE(std::filesystem::exists(AutostartFile())) << way;
    }
}

}  // namespace
}  // namespace lumora::test
