#include "tools/snapshot_manager.h"

#include "../app/url_recorder.h"
#include "frames/frame_copy_event.h"
#include "platform/message_recorder.h"
#include "scoped_env.h"
#include "test_support.h"
#include "tools/thumbnail_grid.h"

#include <lumora/zimage.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>

namespace lumora {
namespace {

// Answers every frame request with a frame of the size it is set to, each one a shade
// lighter than the one before.
class FrameSource : public QObject {
public:
    QSize size{640, 480};
    int served = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() != EventType(MSG_GET_FRAME_COPY)) return QObject::event(event);
        FrameCopy* copy = static_cast<FrameCopyEvent*>(event)->Copy();
        copy->width = size.width();
        copy->height = size.height();
        copy->size = ZImage_CalcImageSize(copy->width, copy->height, 24);
        copy->pixels = std::make_unique<unsigned char[]>(copy->size);
        std::memset(copy->pixels.get(), 40 + 10 * served++, copy->size);
        return true;
    }
};

class SnapshotManagerTest : public ::testing::Test {
protected:
    void Press(int id) { manager_.Control<QPushButton>(id)->click(); }
    std::vector<std::pair<std::string, unsigned>> Shown() const {
        std::vector<std::pair<std::string, unsigned>> shown;
        for (const MessageRequest& message : messages_.Messages()) shown.emplace_back(message.text, message.flags);
        return shown;
    }
    int Files() const { return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir_.path()), {})); }

    test::TempDir dir_;
    test::ScopedEnv pictures_{"XDG_PICTURES_DIR", dir_.file("Pictures").c_str()};
    MessageRecorder messages_{id::kYes};
    FrameSource frames_;
    SnapshotManager manager_{&frames_, nullptr};
};

TEST_F(SnapshotManagerTest, ThumbnailsKeepTheFrameProportionsAndNameItsSize) {
    for (QSize size : {QSize(640, 480), QSize(176, 144), QSize(1280, 720)}) {
        frames_.size = size;
        Press(SnapshotManager::kIdTakeSnapshot);
    }
    const std::vector<ThumbnailItem>& items = manager_.Grid().Layout().Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(std::tuple(items[0].label, items[2].label), std::tuple("640x480", "1280x720"));
    EXPECT_EQ(std::tuple(items[0].picture.size(), items[1].picture.size(), items[2].picture.size()),
              std::tuple(QSize(120, 90), QSize(110, 90), QSize(120, 67)));
    EXPECT_EQ(items[2].picture.pixelColor(60, 30), QColor(60, 60, 60));  // the third frame's shade

    // A double click opens the snapshot, written as a JPEG file, in the image viewer.
    test::UrlRecorder viewer;
    const QPoint second = manager_.Grid().Layout().PlacedCells()[1].rect.center();
    QTest::mouseDClick(manager_.Control<ThumbnailGrid>(SnapshotManager::kIdGrid), Qt::LeftButton, {}, second);
    ASSERT_EQ(viewer.urls().size(), 1u);
    EXPECT_EQ(QImage(QUrl(QString::fromStdString(viewer.urls()[0])).toLocalFile(), "JPEG").size(), QSize(176, 144));
    EXPECT_EQ(manager_.Grid().Layout().Selected(), 1);
}

// A file that cannot be written (here the file size limit refuses every byte, which stops
// root as well) stops the saving with its name: nothing claims success, no partial file
// is left, and the snapshots stay unsaved, so closing still asks.
TEST_F(SnapshotManagerTest, AFileThatCannotBeWrittenIsReportedAndLeavesTheSnapshotsUnsaved) {
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->setText(QString::fromStdString(dir_.path().string()));
    for (int i = 0; i < 3; ++i) Press(SnapshotManager::kIdTakeSnapshot);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit tiny = previous;
    tiny.rlim_cur = 16;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    Press(SnapshotManager::kIdSaveAll);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(Files(), 0);
    EXPECT_EQ(Shown(), (std::vector<std::pair<std::string, unsigned>>{
                           {"Couldn't save snapshot:\n" + dir_.file("snapshot000.jpg"), mb::kIconWarning}}));

    messages_.Clear();
    manager_.show();
    Press(TemplateDialog::kIdCancel);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].first.find("unsaved snapshots"), std::string::npos);
}

TEST_F(SnapshotManagerTest, SavingNumbersPastExistingFilesAndSavesEverySnapshotEachTime) {
    test::WriteFileText(dir_.file("snapshot000.jpg"), "x");
    test::WriteFileText(dir_.file("snapshot001.bmp"), "x");
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)
        ->setText(QString::fromStdString(" \t" + dir_.path().string() + "  "));
    for (int i = 0; i < 3; ++i) Press(SnapshotManager::kIdTakeSnapshot);
    Press(SnapshotManager::kIdSaveAll);
    Press(SnapshotManager::kIdSaveAll);
    EXPECT_EQ(std::tuple(Files(), std::filesystem::exists(dir_.file("snapshot002.jpg")),
                         std::filesystem::exists(dir_.file("snapshot007.jpg"))),
              std::tuple(2 + 6, true, true));
    const std::pair<std::string, unsigned> saved{"Snapshots saved!", mb::kIconInformation};
    EXPECT_EQ(Shown(), (std::vector{saved, saved}));

    // A typed folder must exist.
    messages_.Clear();
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->setText(QString::fromStdString(dir_.file("nowhere")));
    Press(SnapshotManager::kIdSaveAll);
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->setText("  ");
    Press(SnapshotManager::kIdSaveAll);
    EXPECT_EQ(Shown(), (std::vector<std::pair<std::string, unsigned>>{
                           {"Please specify correct snapshots folder!", mb::kIconWarning},
                           {"Please specify snapshots folder!", mb::kIconInformation}}));
}

TEST_F(SnapshotManagerTest, IntervalSnapshotsRunUntilStoppedAndUnsavedOnesAskBeforeClosing) {
    auto* interval = manager_.Control<QSlider>(SnapshotManager::kIdInterval);
    auto* delayed = manager_.Control<QPushButton>(SnapshotManager::kIdDelayed);
    auto* nonStop = manager_.Control<QPushButton>(SnapshotManager::kIdNonStop);
    interval->setValue(1);
    EXPECT_EQ(nonStop->text(), "Non-stop snapshots with 1 sec interval");

    Press(SnapshotManager::kIdNonStop);
    EXPECT_EQ(std::tuple(nonStop->text(), interval->isEnabled(), delayed->isEnabled()),
              std::tuple("Stop", false, false));
    QTest::qWait(2400);
    EXPECT_EQ(manager_.Album().Count(), 2);
    Press(SnapshotManager::kIdNonStop);
    EXPECT_EQ(std::tuple(interval->isEnabled(), nonStop->text()),
              std::tuple(true, "Non-stop snapshots with 1 sec interval"));

    Press(SnapshotManager::kIdDelayed);
    EXPECT_FALSE(nonStop->isEnabled());
    QTest::qWait(2400);
    EXPECT_EQ(std::tuple(manager_.Album().Count(), manager_.Mode(), delayed->text()),
              std::tuple(3, SnapshotManager::TimerMode::kOff, "Snapshot with 1 sec delay"));

    // Unsaved snapshots ask before closing, which stops the timer; No keeps the dialog.
    manager_.Toggle();
    Press(SnapshotManager::kIdNonStop);
    messages_.SetAnswer(id::kNo);
    manager_.reject();  // Esc
    ASSERT_EQ(Shown(), (std::vector<std::pair<std::string, unsigned>>{
                           {"There are unsaved snapshots! Are you sure you want to close Snapshot Manager without "
                            "saving images?",
                            mb::kYesNo | mb::kIconQuestion}}));
    EXPECT_EQ(std::tuple(manager_.isVisible(), manager_.Mode()), std::tuple(true, SnapshotManager::TimerMode::kOff));

    // "Photos..." again hides it at once and keeps the snapshots for the next time.
    manager_.Toggle();
    EXPECT_FALSE(manager_.isVisible());
    manager_.Toggle();
    EXPECT_EQ(manager_.Grid().Layout().Items().size(), 3u);

    messages_.SetAnswer(id::kYes);
    Press(SnapshotManager::kIdDeleteAll);
    EXPECT_EQ(messages_.Messages().back().text, "Are you sure you want to delete all snapshots?");
    EXPECT_EQ(std::tuple(manager_.Album().Count(), manager_.Grid().Layout().Items().size()), std::tuple(0, 0u));
}

}  // namespace
}  // namespace lumora
