// `lumora` as a user runs it, on an X server of the test's own (Xvfb), with a test camera
// and the virtual camera writing into a file.
#include "app/window/command_ids.h"
#include "x_session_test.h"

#include <csignal>

namespace lumora {
namespace {

class EndToEndTest : public XSessionTest {};

// Without the virtual camera the start-up question waits for an answer; a logout's SIGTERM
// answers it No, and the program ends as it would then.
TEST_F(EndToEndTest, ASigtermWhileTheVirtualCameraQuestionIsOpenEndsTheProgram) {
    auto lumora = Lumora(false);
    ASSERT_TRUE(lumora->Start({}));
    ASSERT_TRUE(WaitFor([&] { return !x_->FindWindows("Lumora").empty(); })) << lumora->Wait(1000).err;
    lumora->Signal(SIGTERM);
    const test::ToolRun run = lumora->Wait(3000);
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// Real pointer clicks and keys: a second copy only raises the first, every menu opens
// under its button, every shipped skin is applied from the Skin menu, and a logout's
// SIGTERM ends the program as a close should, storing the camera and its format.
TEST_F(EndToEndTest, StartsOnceOpensTheMenusAppliesEverySkinAndRemembersTheCameraOnSigterm) {
    RememberCam();
    auto lumora = Lumora();
    ASSERT_TRUE(lumora->Start({}));
    ASSERT_TRUE(WaitFor([&] { return PacketBytes() > 0 && x_->FindWindows("Lumora").size() == 1; }))
        << lumora->Wait(1000).err;
    const QRect main = x_->FindWindows("Lumora").front();
    EXPECT_EQ(main.size(), QSize(706, 567));

    QElapsedTimer clock;
    clock.start();
    auto second = Lumora();
    ASSERT_TRUE(second->Start({}));
    const test::ToolRun secondRun = second->Wait(3000);
    EXPECT_EQ(secondRun.exitCode, 0) << secondRun.err;
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(x_->FindWindows("Lumora").size(), 1u);

    const MainWindowLayout layout(QSize(640, 480));
    for (const auto& [id, name] :
         {std::pair{cmd::kFileButton, "file"}, std::pair{cmd::kSourceButton, "video-source"},
          std::pair{cmd::kVideoOptionsButton, "video-options"}, std::pair{cmd::kSkinButton, "skin"}}) {
        const QRect popup = OpenMenu(main, id);
        ASSERT_FALSE(popup.isEmpty()) << name << " menu did not open";
        const QRect button = layout.Button(id).translated(main.topLeft());
        EXPECT_NEAR(popup.top(), button.bottom() + 1, 2) << name;
        EXPECT_NEAR(popup.left(), button.left(), 2) << name;
        x_->Key("Escape");
        ASSERT_TRUE(WaitForNoPopup()) << name;
    }

    // The skins lead the Skin menu: the built-in one, then the shipped folders by name.
    std::vector<std::string> skins{"Default"};
    for (const auto& entry : std::filesystem::directory_iterator(test::ProgramDir() + "skins")) {
        if (entry.is_directory()) skins.push_back(entry.path().filename().string());
    }
    std::sort(skins.begin() + 1, skins.end());
    ASSERT_GE(skins.size(), 2u);
    std::vector<QImage> looks;
    for (std::size_t i = 0; i < skins.size(); ++i) {
        ASSERT_FALSE(OpenMenu(main, cmd::kSkinButton).isEmpty());
        for (std::size_t down = 0; down <= i; ++down) x_->Key("Down");
        x_->Key("Return");
        ASSERT_TRUE(WaitForNoPopup());
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
    ASSERT_TRUE(lumora->Start({}));
    ASSERT_TRUE(WaitFor([&] { return PacketBytes() > 0 && x_->FindWindows("Lumora").size() == 1; }))
        << lumora->Wait(1000).err;
    QThread::msleep(300);  // its settled place and size
    const QRect main = x_->FindWindows("Lumora").front();
    ASSERT_FALSE(OpenMenu(main, cmd::kSkinButton).isEmpty());
    x_->Key("Up");  // the last item: "Skin editor"
    x_->Key("Return");
    ASSERT_TRUE(WaitFor([&] { return x_->FindWindows("Skin editor").size() == 1; }, 5000));
    const QRect editor = x_->FindWindows("Skin editor").front();
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
    ASSERT_TRUE(WaitFor([&] { return x_->FindWindows("Skin editor").empty(); }, 5000));
    const std::string ini = test::ReadFileText(dir_.file("data/lumora/skins/glow/skin.ini"));
    EXPECT_NE(ini.find("caption=caption.png"), std::string::npos) << ini;

    // The Skin menu's second entry (the first is the built-in skin) draws the new caption.
    ASSERT_FALSE(OpenMenu(main, cmd::kSkinButton).isEmpty());
    x_->Key("Down");
    x_->Key("Down");
    x_->Key("Return");
    ASSERT_TRUE(WaitForNoPopup());
    QThread::msleep(300);  // repainted
    EXPECT_EQ(x_->Grab(QRect(main.topLeft() + QPoint(5, 5), QSize(180, 25))).pixelColor(90, 12), QColor(20, 200, 60));
    x_->Click(main.topLeft() + MainWindowLayout(QSize(640, 480)).Button(cmd::kClose).center());
    EXPECT_EQ(lumora->Wait(10000).exitCode, 0);
    std::filesystem::remove_all(pictures);
}

}  // namespace
}  // namespace lumora
