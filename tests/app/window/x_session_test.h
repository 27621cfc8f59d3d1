// XSessionTest: `lumora` as a user runs it, on an X server of the test's own (Xvfb), with a
// test camera ("Cam", an SMPTE pattern) and the virtual camera writing into a packet file;
// the test's hands are real X input (XTEST). Settings, data, pictures and videos live in
// the test's own folder. Tests skip when LUMORA_XVFB names no Xvfb.
//
// Thread: the test's thread; the program runs as a process of its own.
#pragma once

#include "app/preferences.h"
#include "app/window/main_window_layout.h"
#include "cli_process.h"
#include "packet_file.h"
#include "scoped_env.h"
#include "test_environment.h"
#include "test_support.h"
#include "x_input.h"

#include <lumora/registry.h>

#include <QElapsedTimer>
#include <QSize>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lumora {

class XSessionTest : public ::testing::Test {
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
        x_ = std::make_unique<test::XInput>(server_->display());
        ASSERT_TRUE(x_->Ready()) << "no XTEST on the test's X server";
    }

    std::string Packets() const { return dir_.file("vcam.packets"); }
    std::uintmax_t PacketBytes() const { return test::FileBytes(Packets()); }
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
        lumora->SetEnvironment("XDG_DATA_HOME", QString::fromStdString(dir_.file("data")));
        lumora->SetEnvironment("XDG_PICTURES_DIR", QString::fromStdString(dir_.file("pictures")));
        lumora->SetEnvironment("XDG_VIDEOS_DIR", QString::fromStdString(dir_.file("videos")));
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

    // The open popup menu (the last opened when there are several: a submenu), or nothing.
    QRect Popup() const {
        const std::vector<QRect> popups = x_->FindPopups();
        return popups.empty() ? QRect() : popups.back();
    }
    // Clicks the main window's button `id` and waits for the popup menu it opens.
    QRect OpenMenu(QRect main, int id) const {
        x_->Click(main.topLeft() + MainWindowLayout(QSize(640, 480)).Button(id).center());
        QRect popup;
        WaitFor([&] { return !(popup = Popup()).isEmpty(); }, 5000);
        QThread::msleep(200);  // painted
        return popup;
    }
    ::testing::AssertionResult WaitForNoPopup() const {
        if (WaitFor([&] { return Popup().isEmpty(); }, 5000)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "a menu is still open";
    }

    // Types `text` key by key: lower case, digits, "/", ".", "-" and "_" only.
    void Type(const std::string& text) const {
        const std::map<char, const char*> names{{'/', "slash"}, {'.', "period"}, {'-', "minus"}, {'_', "underscore"}};
        for (const char c : text) x_->Key(names.count(c) ? names.at(c) : std::string(1, c).c_str());
    }
    // The centre of the control at `rect` (dialog units) of `dialog`, a window whose
    // template is `units` wide and high.
    static QPoint Control(QRect dialog, QSize units, QRect rect) {
        return dialog.topLeft() + QPoint((2 * rect.x() + rect.width()) * dialog.width() / (2 * units.width()),
                                         (2 * rect.y() + rect.height()) * dialog.height() / (2 * units.height()));
    }
    // Waits for one mapped window named `title`; empty when none came.
    QRect WaitForWindow(const std::string& title) const {
        std::vector<QRect> windows;
        return WaitFor([&] { return (windows = x_->FindWindows(title)).size() == 1; }, 15000) ? windows.front()
                                                                                              : QRect();
    }
    bool WaitForNoWindow(const std::string& title) const {
        return WaitFor([&] { return x_->FindWindows(title).empty(); }, 5000);
    }
    // Answers the file dialog that opens over `others` mapped windows with `path`, typed
    // and entered; true once the dialog has gone. Typed fast, a path can lose its folder
    // while the dialog still reads the folder it started in (it is left there with the
    // file's name alone); typed again, it is taken.
    bool AnswerFileDialog(std::size_t others, const std::string& path) const {
        const auto windows = [&] { return x_->FindWindows("").size(); };
        if (!WaitFor([&] { return windows() > others; }, 15000)) return false;
        for (int attempt = 0; attempt < 3; ++attempt) {
            QThread::msleep(500);
            for (int i = 0; i < 60; ++i) x_->Key("BackSpace");
            Type(path);
            x_->Key("Return");
            if (WaitFor([&] { return windows() <= others; }, 5000)) return true;
        }
        return false;
    }

    test::TempDir dir_;
    std::unique_ptr<test::XvfbServer> server_;
    std::unique_ptr<test::XInput> x_;  // after the server: closes its connection first
};

}  // namespace lumora
