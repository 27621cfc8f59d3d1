// Application tests: a Lumora of the test's own, started in this process on the
// offscreen platform with test devices, every message box taken by a recorder.
#pragma once

#include "../preferences_test_fixture.h"
#include "app/window/application.h"
#include "app/window/command_event.h"
#include "app/window/command_ids.h"
#include "app/window/main_window.h"
#include "app/window/tray_icon.h"
#include "app/window/tray_notify_event.h"
#include "app/window/video_source_menu.h"
#include "effects/zoom_effect.h"
#include "packet_file.h"
#include "platform/message_recorder.h"
#include "scoped_env.h"
#include "session/session.h"
#include "skins/parvel_button.h"
#include "window_test_hooks.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace lumora::test {

inline constexpr char kNoDevices[] = "There are no available video capture devices in the system!";
inline constexpr char kQuestion[] =
    "Error initializing virtual web-camera device (Parvel)! Only preview functions will be available. Would you "
    "like to continue?";
inline constexpr char kSelectSource[] = "Please select video source!";

// A Lumora of the test's own: its settings folder, its instance socket, its test devices
// (a camera "Cam" and the virtual camera writing into `Packets()`), every message taken.
class ApplicationTest : public PreferencesTest {
protected:
    void SetUp() override {
        PreferencesTest::SetUp();
        devices_.Set(("Cam=pattern:smpte;Lumora Capture=packets:" + Packets()).c_str());
    }
    void TearDown() override {
        app_.reset();
        PreferencesTest::TearDown();
    }

    std::string Packets() const { return dir_.file("vcam.packets"); }
    std::uintmax_t PacketBytes() const { return FileBytes(Packets()); }

    std::unique_ptr<Application> MakeApplication() {
        WriteFileText(Packets(), "");
        return std::make_unique<Application>(Application::Options{ProgramDir(), dir_.file("instance.socket")});
    }
    std::optional<int> Start() {
        app_ = MakeApplication();
        return app_->Start();
    }
    void RememberCam(const char* path = "pattern:smpte") {
        SetDword(reg::kRememberLastSource, 1);
        SetDword(reg::kLastSourceType, 1003);
        SetString(reg::kLastSourceId, path);
    }
    // Pumps events until `done` holds or 10 s have passed.
    template <class Condition>
    static bool PumpUntil(Condition done) {
        return QTest::qWaitFor(done, 10000);
    }
    void Send(int command) {
        CommandEvent event(command);
        QCoreApplication::sendEvent(app_->Window(), &event);
    }
    bool Streaming() const { return app_->Media()->Graph().Pipeline() != nullptr; }
    int SourceId() const { return app_->Sources()->SourceId(); }

    ScopedEnv devices_{"LUMORA_TEST_DEVICES", ""};
    MessageRecorder messages_{id::kYes};
    std::unique_ptr<Application> app_;
};

}  // namespace lumora::test
