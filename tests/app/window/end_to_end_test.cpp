// `lumora` as a user runs it, on an X server of the test's own (Xvfb), with a test camera
// and the virtual camera writing into a file.
#include "app/preferences.h"
#include "cli_process.h"
#include "scoped_env.h"
#include "test_environment.h"
#include "test_support.h"

#include <lumora/registry.h>

#include <QElapsedTimer>
#include <QSize>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>

// Last: Xlib's macros (None, Bool, Status) clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lumora {
namespace {

// The mapped top-level windows titled "Lumora" on a display, with their sizes.
std::vector<QSize> LumoraWindows(const std::string& display) {
    std::vector<QSize> found;
    Display* x = XOpenDisplay(display.c_str());
    if (!x) return found;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes{};
            if (XFetchName(x, children[i], &name) && name && std::string(name) == "Lumora" &&
                XGetWindowAttributes(x, children[i], &attributes) && attributes.map_state == IsViewable) {
                found.emplace_back(attributes.width, attributes.height);
            }
            if (name) XFree(name);
        }
        if (children) XFree(children);
    }
    XCloseDisplay(x);
    return found;
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* xvfb = std::getenv("LUMORA_XVFB");
        if (!xvfb || !*xvfb) GTEST_SKIP() << "LUMORA_XVFB names no Xvfb: no X server for this test";
        server_ = std::make_unique<test::XvfbServer>("1024x768x24");
        ASSERT_FALSE(server_->display().empty()) << "Xvfb did not start";
        std::filesystem::create_directories(dir_.file("config"));
        std::filesystem::create_directories(dir_.file("runtime"));
        std::filesystem::permissions(dir_.file("runtime"), std::filesystem::perms::owner_all);
        test::WriteFileText(Packets(), "");
    }

    std::string Packets() const { return dir_.file("vcam.packets"); }
    std::uintmax_t PacketBytes() const {
        std::error_code error;
        const auto size = std::filesystem::file_size(Packets(), error);
        return error ? 0 : size;
    }
    void RememberCam() {
        test::ScopedEnv config("LUMORA_CONFIG_DIR", dir_.file("config").c_str());
        WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kRememberLastSource, 1);
        WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceType, 1003);
        WriteRegString(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceId, "pattern:smpte");
    }
    std::unique_ptr<test::ToolProcess> Lumora(bool withVirtualCamera = true) {
        const std::string devices =
            withVirtualCamera ? "Cam=pattern:smpte;Lumora Capture=packets:" + Packets() : "Cam=pattern:smpte";
        auto lumora = std::make_unique<test::ToolProcess>("lumora", QString::fromStdString(devices));
        lumora->SetEnvironment("QT_QPA_PLATFORM", "xcb");
        lumora->SetEnvironment("DISPLAY", QString::fromStdString(server_->display()));
        lumora->SetEnvironment("LUMORA_CONFIG_DIR", QString::fromStdString(dir_.file("config")));
        lumora->SetEnvironment("XDG_RUNTIME_DIR", QString::fromStdString(dir_.file("runtime")));
        // Under AddressSanitizer: libxkbcommon-x11 (Debian 12) reads past a keymap name with
        // strndup while Qt connects to the X server; that is the library's, not ours.
        lumora->SetEnvironment("ASAN_OPTIONS", "intercept_strndup=0");
        return lumora;
    }
    template <class Condition>
    static bool WaitFor(Condition done, int timeoutMs = 20000) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < timeoutMs) QThread::msleep(50);
        return done();
    }

    test::TempDir dir_;
    std::unique_ptr<test::XvfbServer> server_;
};

TEST_F(EndToEndTest, StartsOnceStreamsAndRemembersTheCameraOnSigterm) {
    RememberCam();
    auto first = Lumora();
    ASSERT_TRUE(first->Start({}));
    ASSERT_TRUE(WaitFor([&] { return PacketBytes() > 0; })) << first->Wait(1000).err;
    ASSERT_TRUE(WaitFor([&] { return LumoraWindows(server_->display()).size() == 1; }));
    EXPECT_EQ(LumoraWindows(server_->display()).front(), QSize(706, 567));

    // A second copy raises the first and leaves at once, without a window of its own.
    QElapsedTimer clock;
    clock.start();
    auto second = Lumora();
    ASSERT_TRUE(second->Start({}));
    const test::ToolRun secondRun = second->Wait(3000);
    EXPECT_EQ(secondRun.exitCode, 0) << secondRun.err;
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(LumoraWindows(server_->display()).size(), 1u);

    // The camera is forgotten here, so that only the close can store it again.
    {
        test::ScopedEnv config("LUMORA_CONFIG_DIR", dir_.file("config").c_str());
        DeleteRegValue(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceType);
        DeleteRegValue(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceId);
    }
    first->Signal(SIGTERM);
    const test::ToolRun run = first->Wait(10000);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string settings = test::ReadFileText(dir_.file("config/lumora.reg"));
    EXPECT_NE(settings.find("\"LastSourceType\"=dword:000003eb"), std::string::npos) << settings;
    EXPECT_NE(settings.find("\"LastSourceID\"=\"pattern:smpte\""), std::string::npos) << settings;
}

// Without the virtual camera the start-up question waits for an answer; a logout's SIGTERM
// answers it No, and the program ends as it would then.
TEST_F(EndToEndTest, ASigtermWhileTheVirtualCameraQuestionIsOpenEndsTheProgram) {
    auto lumora = Lumora(false);
    ASSERT_TRUE(lumora->Start({}));
    ASSERT_TRUE(WaitFor([&] { return !LumoraWindows(server_->display()).empty(); })) << lumora->Wait(1000).err;
    lumora->Signal(SIGTERM);
    const test::ToolRun run = lumora->Wait(3000);
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

}  // namespace
}  // namespace lumora
