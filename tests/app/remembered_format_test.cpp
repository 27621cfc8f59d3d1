#include "app/remembered_format.h"
#include "preferences_test_fixture.h"
#include "video/capture_format_caps.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

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
    for (const auto spoil : {+[] { SetDword(reg::kLastDevWidth, 0); },
                             +[] { SetDword(reg::kLastSourceType, kSourceDesktop); }}) {
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
        {"remembering off", 0, kSourceCaptureDevice, ReadI420},
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
