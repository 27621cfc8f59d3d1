// `lumora` as a user runs it, on an X server of the test's own (Xvfb), with a test camera
// ("Cam", an SMPTE pattern) and the virtual camera writing into a packet file; the test's
// hands are real X input (XTEST), and the tools are reached from the program's menus.
// Settings, data, pictures and videos live in the test's own folder. Tests skip when
// LUMORA_XVFB names no Xvfb.
#include "app/preferences.h"
#include "app/window/command_ids.h"
#include "app/window/main_window_layout.h"
#include "capture_device_gst_fixture.h"
#include "cli_process.h"
#include "packet_file.h"
#include "scoped_env.h"
#include "test_environment.h"
#include "test_support.h"
#include "x_input.h"

#include <lumora/registry.h>

#include <QImage>
#include <QSet>
#include <QSize>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lumora {
namespace {

// Thread: the test's thread; the program runs as a process of its own.
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
        // Under AddressSanitizer: libxkbcommon-x11 (Debian 12) reads past a keymap name with
        // strndup while Qt connects to the X server; that is the library's, not ours.
        for (const auto& [name, value] : {std::pair<QString, std::string>{"QT_QPA_PLATFORM", "xcb"},
                                          {"DISPLAY", server_->display()},
                                          {"LUMORA_CONFIG_DIR", dir_.file("config")},
                                          {"XDG_RUNTIME_DIR", dir_.file("runtime")},
                                          {"XDG_DATA_HOME", dir_.file("data")},
                                          {"XDG_PICTURES_DIR", dir_.file("pictures")},
                                          {"XDG_VIDEOS_DIR", dir_.file("videos")},
                                          {"ASAN_OPTIONS", "intercept_strndup=0"}})
            lumora->SetEnvironment(name, QString::fromStdString(value));
        return lumora;
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
        return QTest::qWaitFor([&] { return (windows = x_->FindWindows(title)).size() == 1; }, 15000) ? windows.front()
                                                                                                      : QRect();
    }
    bool WaitForNoWindow(const std::string& title) const {
        return QTest::qWaitFor([&] { return x_->FindWindows(title).empty(); }, 5000);
    }
    // Answers the file dialog that opens over `others` mapped windows with `path`, typed
    // and entered (none: the name it offers); true once the dialog has gone. Typed fast, a
    // path can lose its folder while the dialog still reads the folder it started in (it
    // is left there with the file's name alone); typed again, it is taken.
    bool AnswerFileDialog(std::size_t others, const std::string& path = "") const {
        const auto windows = [&] { return x_->FindWindows("").size(); };
        if (!QTest::qWaitFor([&] { return windows() > others; }, 15000)) return false;
        for (int attempt = 0; attempt < 3; ++attempt) {
            QThread::msleep(500);
            for (int i = 0; i < (path.empty() ? 0 : 60); ++i) x_->Key("BackSpace");
            Type(path);
            x_->Key("Return");
            if (QTest::qWaitFor([&] { return windows() <= others; }, 5000)) return true;
        }
        return false;
    }

    // Starts `lumora` and waits for its window and first packet: the settled window, or an
    // empty one when they did not come.
    QRect Started(test::ToolProcess& lumora) const {
        if (!lumora.Start({}) ||
            !QTest::qWaitFor([&] { return PacketBytes() > 0 && x_->FindWindows("Lumora").size() == 1; }, 20000))
            return {};
        QThread::msleep(300);  // its settled place and size
        return x_->FindWindows("Lumora").front();
    }
    // Clicks the main window's button `id`, waits for the popup menu it opens and walks it:
    // "Down", "Up", "Right" (into a submenu), then Return; succeeds when the menu closed.
    ::testing::AssertionResult Choose(QRect main, int id, const std::vector<const char*>& keys) {
        const auto popups = [&] { return x_->FindPopups().size(); };
        x_->Click(main.topLeft() + MainWindowLayout(QSize(640, 480)).Button(id).center());
        if (!QTest::qWaitFor([&] { return popups() > 0; }, 5000))
            return ::testing::AssertionFailure() << "the menu did not open";
        QThread::msleep(200);  // painted
        for (const char* key : keys) {
            x_->Key(key);
            QThread::msleep(100);  // a submenu opens
        }
        x_->Key("Return");
        if (QTest::qWaitFor([&] { return popups() == 0; }, 5000)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the menu stayed open";
    }
    // The mean difference per channel between a picture and the virtual camera's last
    // 640 x 480 frame (bottom row first), left of the test pattern's noise, which changes
    // from frame to frame.
    double DifferenceFromTheLastPacket(const QImage& picture) const {
        test::PacketFile packets(Packets());
        const std::vector<unsigned char> packet = packets.Packet(packets.Count() - 1);
        const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
        if (bgr.size() != QSize(640, 480) || packet.size() != FramePacket::kHeaderSize + 640 * 480 * 3) return 255;
        double sum = 0;
        for (int y = 0; y < 480; ++y) {
            const unsigned char* row = packet.data() + FramePacket::kHeaderSize + (479 - y) * 640 * 3;
            for (int x = 0; x < 640 * 3 * 3 / 4; ++x) sum += std::abs(int{row[x]} - int{bgr.constScanLine(y)[x]});
        }
        return sum / (640 * 3 * 3 / 4 * 480);
    }
    // The first picture of a recording, decoded by GStreamer.
    QImage FirstRecordedPicture(const std::string& video) const {
        gst_init(nullptr, nullptr);
        const std::string png = dir_.file("first.png");
        const std::string line = "filesrc location=\"" + video +
                                 "\" ! decodebin ! videoconvert ! pngenc snapshot=true ! filesink location=\"" + png +
                                 "\"";
        test::PipelinePtr pipeline(gst_parse_launch(line.c_str(), nullptr));
        return pipeline && test::RunToEos(pipeline.get()) ? QImage(QString::fromStdString(png)) : QImage();
    }
    // Distinct colours in `area`: a picture of the test camera's bars has many, an empty
    // or grey control few.
    int Colours(QRect area) const {
        const QImage image = x_->Grab(area);
        QSet<QRgb> seen;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2) seen.insert(image.pixel(x, y));
        return static_cast<int>(seen.size());
    }

    test::TempDir dir_;
    std::unique_ptr<test::XvfbServer> server_;
    std::unique_ptr<test::XInput> x_;  // after the server: closes its connection first
};

// Without the virtual camera the start-up question waits for an answer; a logout's SIGTERM
// answers it No, and the program ends as it would then.
TEST_F(EndToEndTest, ASigtermWhileTheVirtualCameraQuestionIsOpenEndsTheProgram) {
    auto lumora = Lumora(false);
    ASSERT_TRUE(lumora->Start({}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !x_->FindWindows("Lumora").empty(); }, 20000)) << lumora->Wait(1000).err;
    lumora->Signal(SIGTERM);
    const test::ToolRun run = lumora->Wait(3000);
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// Real pointer clicks and keys in one run: a second copy only raises the first, the tools
// work from the File menu, every shipped skin is applied from the Skin menu, and a logout's SIGTERM ends the program as
// a close should, storing the camera and its format.
//
// File > Capture > Photos... and Videos...: a snapshot is taken and saved into the default
// folder, which Save all creates; a recording is made, played back in the dialog, and
// left in the default videos folder under the first free name; both hold the picture the
// virtual camera got.
TEST_F(EndToEndTest, OneRunStartsOnceRunsTheToolsAppliesEverySkinAndRemembersTheCamera) {
    RememberCam();
    auto lumora = Lumora();
    const QRect main = Started(*lumora);
    ASSERT_FALSE(main.isEmpty()) << lumora->Wait(1000).err;

    auto second = Lumora();
    ASSERT_TRUE(second->Start({}));
    const test::ToolRun secondRun = second->Wait(3000);  // ended within 3 s, or killed: -1
    EXPECT_EQ(secondRun.exitCode, 0) << secondRun.err;
    EXPECT_EQ(x_->FindWindows("Lumora").size(), 1u);

    ASSERT_TRUE(Choose(main, cmd::kFileButton, {"Down", "Right", "Down"}));
    const QRect snapshots = WaitForWindow("Snapshot manager");
    ASSERT_FALSE(snapshots.isEmpty());
    const QSize snapshotUnits(307, 297);
    const QRect grid(Control(snapshots, snapshotUnits, {12, 12, 0, 0}),
                     Control(snapshots, snapshotUnits, {295, 150, 0, 0}));
    const int emptyGrid = Colours(grid);
    x_->Click(Control(snapshots, snapshotUnits, {12, 156, 66, 14}));  // Take snapshot
    EXPECT_TRUE(QTest::qWaitFor([&] { return Colours(grid) > emptyGrid + 4; }, 5000)) << "no thumbnail came";

    const std::string saved = dir_.file("pictures/Lumora/snapshot000.jpg");
    x_->Click(Control(snapshots, snapshotUnits, {195, 276, 50, 14}));  // Save all
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(saved); }, 10000));
    QThread::msleep(500);  // "Snapshots saved!"
    x_->Key("Return");
    QThread::msleep(300);
    EXPECT_LT(DifferenceFromTheLastPacket(QImage(QString::fromStdString(saved))), 3.0);  // a JPEG of the frame sent
    x_->Click(Control(snapshots, snapshotUnits, {251, 276, 50, 14}));  // Close: all saved, no question
    ASSERT_TRUE(WaitForNoWindow("Snapshot manager"));

    ASSERT_TRUE(Choose(main, cmd::kFileButton, {"Down", "Right"}));
    const QRect recording = WaitForWindow("Recording to file");
    ASSERT_FALSE(recording.isEmpty());
    const QSize recordingUnits(262, 150);
    QThread::msleep(300);  // settled where it was mapped
    // Browse... offers the first free name in the videos folder; Return takes it.
    const std::string video = dir_.file("videos/Lumora/video000.avi");
    const std::size_t windows = x_->FindWindows("").size();
    x_->Click(Control(recording, recordingUnits, {210, 18, 48, 12}));
    ASSERT_TRUE(AnswerFileDialog(windows));
    x_->Click(Control(recording, recordingUnits, {109, 132, 16, 14}));                                  // Start
    ASSERT_TRUE(QTest::qWaitFor([&] { return test::FileBytes(video) > 640u * 480 * 3 * 12; }, 10000));  // raw frames
    x_->Click(Control(recording, recordingUnits, {24, 132, 16, 14}));                                   // Stop
    QThread::msleep(1000);
    EXPECT_GT(std::filesystem::file_size(video), 640u * 480 * 3 * 10);         // none lost at the stop
    EXPECT_LT(DifferenceFromTheLastPacket(FirstRecordedPicture(video)), 1.0);  // the processed frames
    const QRect status(Control(recording, recordingUnits, {8, 38, 0, 0}),
                       Control(recording, recordingUnits, {124, 124, 0, 0}));
    x_->Click(Control(recording, recordingUnits, {6, 132, 16, 14}));  // Play
    EXPECT_TRUE(QTest::qWaitFor([&] { return Colours(status) > 8; }, 10000)) << "the recording did not play";
    x_->Key("Escape");
    ASSERT_TRUE(WaitForNoWindow("Recording to file"));

    // The skins lead the Skin menu: the built-in one, then the shipped folders by name.
    std::vector<std::string> skins{"Default"};
    for (const auto& entry : std::filesystem::directory_iterator(test::ProgramDir() + "skins")) {
        if (entry.is_directory()) skins.push_back(entry.path().filename().string());
    }
    std::sort(skins.begin() + 1, skins.end());
    ASSERT_GE(skins.size(), 2u);
    std::vector<QImage> looks;
    for (std::size_t i = 0; i < skins.size(); ++i) {
        ASSERT_TRUE(Choose(main, cmd::kSkinButton, std::vector<const char*>(i + 1, "Down")));
        QThread::msleep(300);  // repainted
        // The caption band and buttons only: the preview moves with the pattern.
        looks.push_back(x_->Grab(QRect(main.topLeft(), QSize(main.width(), 60))));
    }
    for (std::size_t i = 1; i < looks.size(); ++i)
        EXPECT_NE(looks[i], looks[i - 1]) << skins[i] << " looks like the skin before";

    // The camera is forgotten here, so that only the close can store it again.
    {
        test::ScopedEnv config("LUMORA_CONFIG_DIR", dir_.file("config").c_str());
        DeleteRegValue(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceType);
        DeleteRegValue(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceId);
    }
    lumora->Signal(SIGTERM);
    const test::ToolRun run = lumora->Wait(10000);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string settings = test::ReadFileText(dir_.file("config/lumora.reg"));
    for (const char* stored :
         {"\"LastSourceType\"=dword:000003eb", "\"LastSourceID\"=\"pattern:smpte\"", "\"LastDevWidth\"=dword:00000280"})
        EXPECT_NE(settings.find(stored), std::string::npos) << stored << " in\n" << settings;
}

// An installed program: its folder has no skins/ to write, so the editor makes the skin in
// the user's folder. Made and filled through the keyboard, the skin is offered by the Skin
// menu once the editor closes and draws the main window; the Close button ends the
// program. (That the skin loads again at the next start is the editor window's own test.)
TEST_F(EndToEndTest, TheEditorMakesASkinTheSkinMenuOffersAtOnce) {
    const std::filesystem::path program = dir_.file("program");
    std::filesystem::create_directories(program);
    std::filesystem::copy_file(test::ProgramDir() + "lumora", program / "lumora");
    // Typed into the file dialog key by key: lower case, digits, "/", "." and "-" only.
    const std::filesystem::path pictures =
        std::filesystem::temp_directory_path() / ("lumora-e2e-" + std::to_string(::getpid()));
    std::filesystem::create_directories(pictures);
    const std::string picture = (pictures / "caption.png").string();
    QImage caption(180, 25, QImage::Format_RGB32);
    caption.fill(QColor(20, 200, 60));
    ASSERT_TRUE(caption.save(QString::fromStdString(picture)));
    RememberCam();
    test::ScopedEnv folder("LUMORA_PROGRAM_DIR", (program.string() + "/").c_str());
    auto lumora = Lumora();
    const QRect main = Started(*lumora);
    ASSERT_FALSE(main.isEmpty()) << lumora->Wait(1000).err;
    ASSERT_TRUE(Choose(main, cmd::kSkinButton, {"Up"}));  // the last item: "Skin editor"
    const QRect editor = WaitForWindow("Skin editor");
    ASSERT_FALSE(editor.isEmpty());
    // A control of the editor's template (481 x 279 dialog units).
    const auto control = [&](int x, int y, int width, int height) {
        return Control(editor, QSize(481, 279), QRect(x, y, width, height));
    };
    x_->Click(control(66, 30, 138, 14));  // the name field
    Type("glow");
    x_->Click(control(210, 30, 60, 14));  // Create skin
    QThread::msleep(500);
    x_->Key("Return");  // "Skin 'glow' has been created. ..."
    QThread::msleep(300);
    x_->Click(control(66, 12, 204, 14));  // the skins list opens
    QThread::msleep(500);
    x_->Key("Down");
    x_->Key("Return");
    QThread::msleep(300);
    // The file dialog: waited for, not slept on (a sanitizer build under load is slow).
    const std::size_t before = x_->FindWindows("").size();
    x_->Click(control(168, 144, 48, 14));  // Set file...
    ASSERT_TRUE(AnswerFileDialog(before, picture));
    QThread::msleep(800);  // the picture is stored
    x_->Key("Escape");
    ASSERT_TRUE(WaitForNoWindow("Skin editor"));
    const std::string ini = test::ReadFileText(dir_.file("data/lumora/skins/glow/skin.ini"));
    EXPECT_NE(ini.find("caption=caption.png"), std::string::npos) << ini;

    // The Skin menu's second entry (the first is the built-in skin) draws the new caption.
    ASSERT_TRUE(Choose(main, cmd::kSkinButton, {"Down", "Down"}));
    QThread::msleep(300);  // repainted
    EXPECT_EQ(x_->Grab(QRect(main.topLeft() + QPoint(5, 5), QSize(180, 25))).pixelColor(90, 12), QColor(20, 200, 60));
    x_->Click(main.topLeft() + MainWindowLayout(QSize(640, 480)).Button(cmd::kClose).center());
    EXPECT_EQ(lumora->Wait(10000).exitCode, 0);
    std::filesystem::remove_all(pictures);
}

}  // namespace
}  // namespace lumora
