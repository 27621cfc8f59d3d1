#include "app/remembered_format.h"
#include "preferences_test_fixture.h"
#include "video/capture_device_list.h"
#include "video/capture_format_caps.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

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

}  // namespace
}  // namespace lumora
