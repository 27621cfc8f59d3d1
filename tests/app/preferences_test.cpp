#include "app/preferences_dialog.h"
#include "app/remembered_format.h"
#include "platform/desktop_entry.h"
#include "preferences_test_fixture.h"
#include "video/capture_device_list.h"
#include "video/capture_format_caps.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>

namespace lumora {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Guid kYuy2{0x32595559, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr ZImageBitmapInfoHeader kYuy2Header{40, 640, 480, 1, 16, kYuy2.data1, 0, 0, 0, 0, 0};

class StoredPreferencesTest : public test::PreferencesTest {
protected:
    std::pair<std::uint32_t, std::string> LastSource() const {
        EXPECT_EQ(Stored(reg::kLastSourceType).value_or(RegValue{}).type, REG_DWORD);
        return {ReadRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceType, 77),
                GetLastSourceId().value_or("(none)")};
    }

    // Remembering on, and a YUY2 640x480 format at 30 frames/s stored.
    void SaveValidFormat() {
        SetDword(reg::kRememberLastSource, 1);
        ASSERT_TRUE(SaveLastDeviceFormat(&kYuy2Header, 333333, kYuy2));
        ASSERT_TRUE(AnyDeviceFormatValue());
    }
};

TEST_F(StoredPreferencesTest, TheLastSourceCountsOnlyWhenRememberedAndKnownAndIsSavedWithItsIdentifier) {
    SetDword(reg::kLastSourceType, 1003);
    SetDword(reg::kRememberLastSource, 0);
    EXPECT_EQ(GetLastSourceType(), 0);

    SetDword(reg::kRememberLastSource, 2);
    for (std::uint32_t type : {999u, 1000u, 1003u, 1004u}) {
        SetDword(reg::kLastSourceType, type);
        EXPECT_EQ(GetLastSourceType(), type == 1000u || type == 1003u ? static_cast<int>(type) : 0) << type;
    }
    SetString(reg::kLastSourceType, "1003");
    EXPECT_EQ(GetLastSourceType(), 0);

    // SaveLastSource stores the code and the identifier.
    SetDword(reg::kRememberLastSource, 0);
    CaptureDeviceList devices([] {
        return std::vector<CaptureDeviceInfo>{{"Cam", "/dev/v4l/by-id/usb-cam-video-index0"},
                                              {"Cam", "/dev/video4"}, {"Broken", std::nullopt}};
    });
    devices.EnumerateCaptureDevices();
    const std::string picture = "/home/user/picture.jpg";

    EXPECT_TRUE(SaveLastSource(1002, devices, picture));
    EXPECT_EQ(LastSource(), std::make_pair(0u, std::string()));  // remembering is off

    SetDword(reg::kRememberLastSource, 1);
    const std::tuple<int, std::uint32_t, std::string> cases[] = {
        {1000, 1000, picture}, {1001, 1001, ""}, {1002, 1002, picture},
        {1003, 1003, "/dev/v4l/by-id/usb-cam-video-index0"}, {1004, 1003, "/dev/video4"},
        {1005, 1003, ""},  // listed, but without a path
        {1006, 0, ""}, {999, 0, ""}, {INT_MIN, 0, ""}};
    for (const auto& [code, type, id] : cases) {
        EXPECT_TRUE(SaveLastSource(code, devices, picture));
        EXPECT_EQ(LastSource(), std::make_pair(type, id)) << code;
    }
}

TEST_F(StoredPreferencesTest, DeviceFormatIsKeptAndLoadedOnlyWhenComplete) {
    const std::tuple<std::uint32_t, const ZImageBitmapInfoHeader*, std::int64_t> cases[] = {
        {0, &kYuy2Header, 333333}, {1, nullptr, 333333}, {1, &kYuy2Header, 0}, {1, &kYuy2Header, -333333}};
    for (const auto& [remember, given, frameTime] : cases) {
        SaveValidFormat();
        SetDword(reg::kRememberLastSource, remember);
        EXPECT_TRUE(SaveLastDeviceFormat(given, frameTime, kYuy2));
        EXPECT_FALSE(AnyDeviceFormatValue()) << remember << " " << frameTime;
    }
    EXPECT_TRUE(Stored(reg::kRememberLastSource));  // only the seven go

    SaveValidFormat();
    ZImageBitmapInfoHeader loaded{};
    std::int64_t frameTime = 0;
    Guid subtype;
    ASSERT_TRUE(LoadLastDeviceFormat(loaded, frameTime, subtype));
    const ZImageBitmapInfoHeader expected{40, 640, 480, 1, 16, kYuy2.data1, 614400, 0, 0, 0, 0};
    EXPECT_EQ(std::tuple(std::memcmp(&loaded, &expected, sizeof loaded), frameTime, subtype),
              std::tuple(0, 333333, kYuy2));

    // Longer values count with their first bytes, whatever their type.
    SetBinary(reg::kLastDevFrameTime, {0x40, 0x42, 0x0F, 0, 0, 0, 0, 0, 0xFF});
    SetString(reg::kLastDevMediaSubType, "0123456789ABCDEF");
    ASSERT_TRUE(LoadLastDeviceFormat(loaded, frameTime, subtype));
    EXPECT_EQ(std::tuple(frameTime, subtype.data1), std::tuple(1000000, 0x33323130u));

    const std::pair<const char*, void (*)()> spoilers[] = {
        {"4-byte frame time",
         [] {
             SetBinary(reg::kLastDevFrameTime, Bytes{0x15, 0x16, 0x05, 0x00});
         }},
        {"frame time 0", [] { SetBinary(reg::kLastDevFrameTime, Bytes(8, 0)); }},
        {"15-byte subtype", [] { SetBinary(reg::kLastDevMediaSubType, Bytes(15, 1)); }},
        {"width 0", [] { SetDword(reg::kLastDevWidth, 0); }},
        {"height as text", [] { SetString(reg::kLastDevHeight, "480"); }},
    };
    for (const auto& [what, spoil] : spoilers) {
        SaveValidFormat();
        spoil();
        frameTime = 9;
        EXPECT_FALSE(LoadLastDeviceFormat(loaded, frameTime, subtype)) << what;
        EXPECT_EQ(frameTime, 9) << what;
    }
}

constexpr Guid kI420 = SubtypeFromFourcc(MakeFourcc('I', '4', '2', '0'));
constexpr ZImageBitmapInfoHeader kI420Header{40, 320, 240, 1, 12, kI420.data1, 0, 0, 0, 0, 0};

class RememberedFormatTest : public test::PreferencesTest {
protected:
    // The last run ended on a capture device in I420 320x240 at 15 frames/s.
    static void StoreCaptureDeviceRun() {
        SetDword(reg::kRememberLastSource, 1);
        SetDword(reg::kLastSourceType, kSourceCaptureDevice);
        SaveLastDeviceFormat(&kI420Header, 666666, kI420);
    }

    static HRESULT ReadI420(CaptureFormat& format) {
        format.header = kI420Header;
        format.frameTime = 333333;
        format.subtype = kI420;
        return S_OK;
    }

    CaptureFormat format_;
    RememberedFormat remembered_{format_};
};

TEST_F(RememberedFormatTest, AStoredDeviceFormatIsAppliedOnlyByTheFirstCaptureBuild) {
    StoreCaptureDeviceRun();
    remembered_.PrepareRememberedFormat();
    EXPECT_EQ(std::tuple(format_.applied, format_.header.biWidth, format_.frameTime), std::tuple(false, 320, 666666));
    // The first capture build applies it and marks it so; back to the device later in
    // the run, it is not armed again.
    format_.applied = true;
    format_.header.biWidth = 640;  // what the device read back since
    remembered_.PrepareRememberedFormat();
    EXPECT_EQ(std::tuple(format_.applied, format_.header.biWidth), std::tuple(true, 640));

    // An incomplete format, or another source last time: nothing to apply this run.
    for (const auto spoil :
         {+[] { SetDword(reg::kLastDevWidth, 0); }, +[] { SetDword(reg::kLastSourceType, kSourceDesktop); }}) {
        StoreCaptureDeviceRun();
        spoil();
        format_ = CaptureFormat{};
        remembered_.PrepareRememberedFormat();
        EXPECT_TRUE(format_.applied);
    }
}

TEST_F(RememberedFormatTest, ExitStoresTheFormatOfTheCurrentCaptureDeviceOnly) {
    StoreCaptureDeviceRun();
    EXPECT_TRUE(remembered_.SaveCurrentFormat(kSourceCaptureDevice + 1, 2, ReadI420));
    ZImageBitmapInfoHeader header{};
    std::int64_t frameTime = 0;
    Guid subtype;
    ASSERT_TRUE(LoadLastDeviceFormat(header, frameTime, subtype));
    EXPECT_EQ(frameTime, 333333);

    const auto unreadable = [](CaptureFormat&) { return E_NOINTERFACE; };
    const std::tuple<const char*, std::uint32_t, int, RememberedFormat::FormatReader> cases[] = {
        {"desktop", kSourceDesktop, kSourceDesktop, ReadI420},
        {"device past the list", kSourceCaptureDevice, kSourceCaptureDevice + 2, ReadI420},
        {"format not readable", kSourceCaptureDevice, kSourceCaptureDevice, unreadable},
    };
    for (const auto& [what, lastType, sourceId, read] : cases) {
        StoreCaptureDeviceRun();
        SetDword(reg::kLastSourceType, lastType);
        EXPECT_TRUE(remembered_.SaveCurrentFormat(sourceId, 2, read)) << what;
        EXPECT_FALSE(AnyDeviceFormatValue()) << what;
    }
}

class PreferencesDialogTest : public test::PreferencesTest {
protected:
    std::filesystem::path AutostartFile() const { return dir_.path() / "autostart" / "lumora.desktop"; }
    AutostartEntry Autostart(const std::string& program = "/opt/Lumora Apps/lumora") const {
        return {AutostartFile(), program};
    }
    std::string Settings() const { return test::ReadFileText(dir_.file("lumora.reg")); }
    std::optional<std::string> AutostartExec() const {
        return DesktopEntry::Parse(test::ReadFileText(AutostartFile().string())).Get("Exec");
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
    test::WriteFileText(AutostartFile().string(), "[Desktop Entry]\nType=Application\nExec=lumora\nHidden=true\n");
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
    test::WriteFileText(AutostartFile().string(), "[Desktop Entry]\nExec=/old/lumora\nHidden=true\n");
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
}  // namespace lumora
