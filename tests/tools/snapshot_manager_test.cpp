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
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const MessageRequest& message : messages_.Messages()) texts.push_back(message.text);
        return texts;
    }
    int Files() const { return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir_.path()), {})); }

    test::TempDir dir_;
    test::ScopedEnv pictures_{"XDG_PICTURES_DIR", dir_.file("Pictures").c_str()};
    MessageRecorder messages_{id::kYes};
    FrameSource frames_;
    SnapshotManager manager_{&frames_, nullptr};
};

TEST_F(SnapshotManagerTest, ThumbnailsKeepTheFrameProportionsAndNameItsSize) {
    EXPECT_EQ(manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->text().toStdString(),
              dir_.file("Pictures") + "/Lumora/");
    for (QSize size : {QSize(640, 480), QSize(176, 144), QSize(1280, 720)}) {
        frames_.size = size;
        Press(SnapshotManager::kIdTakeSnapshot);
    }
    const std::vector<ThumbnailItem>& items = manager_.Grid().Layout().Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].label, "640x480");
    EXPECT_EQ(items[0].picture.size(), QSize(120, 90));
    EXPECT_EQ(items[1].picture.size(), QSize(110, 90));
    EXPECT_EQ(items[2].label, "1280x720");
    EXPECT_EQ(items[2].picture.size(), QSize(120, 67));
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
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Couldn't save snapshot:\n" + dir_.file("snapshot000.jpg")}));
    EXPECT_EQ(messages_.Messages()[0].flags, mb::kIconWarning);

    messages_.Clear();
    manager_.show();
    Press(TemplateDialog::kIdCancel);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_NE(Texts()[0].find("unsaved snapshots"), std::string::npos);
}

TEST_F(SnapshotManagerTest, SavingNumbersPastExistingFilesAndSavesEverySnapshotEachTime) {
    test::WriteFileText(dir_.file("snapshot000.jpg"), "x");
    test::WriteFileText(dir_.file("snapshot001.bmp"), "x");
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)
        ->setText(QString::fromStdString(" \t" + dir_.path().string() + "  "));
    for (int i = 0; i < 3; ++i) Press(SnapshotManager::kIdTakeSnapshot);
    Press(SnapshotManager::kIdSaveAll);
    Press(SnapshotManager::kIdSaveAll);
    EXPECT_EQ(Files(), 2 + 6);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("snapshot002.jpg")));
    EXPECT_TRUE(std::filesystem::exists(dir_.file("snapshot007.jpg")));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Snapshots saved!", "Snapshots saved!"}));
    EXPECT_EQ(messages_.Messages()[0].flags, mb::kIconInformation);

    // A typed folder must exist.
    messages_.Clear();
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->setText(QString::fromStdString(dir_.file("nowhere")));
    Press(SnapshotManager::kIdSaveAll);
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->setText("  ");
    Press(SnapshotManager::kIdSaveAll);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Please specify correct snapshots folder!",
                                                 "Please specify snapshots folder!"}));
    EXPECT_EQ(messages_.Messages()[0].flags, mb::kIconWarning);
}

TEST_F(SnapshotManagerTest, IntervalSnapshotsRunUntilStoppedAndUnsavedOnesAskBeforeClosing) {
    auto* interval = manager_.Control<QSlider>(SnapshotManager::kIdInterval);
    auto* delayed = manager_.Control<QPushButton>(SnapshotManager::kIdDelayed);
    auto* nonStop = manager_.Control<QPushButton>(SnapshotManager::kIdNonStop);
    EXPECT_EQ(delayed->text(), "Snapshot with 5 sec delay");
    interval->setValue(1);
    EXPECT_EQ(nonStop->text(), "Non-stop snapshots with 1 sec interval");

    Press(SnapshotManager::kIdNonStop);
    EXPECT_EQ(nonStop->text(), "Stop");
    EXPECT_FALSE(interval->isEnabled());
    EXPECT_FALSE(delayed->isEnabled());
    QTest::qWait(2400);
    EXPECT_EQ(manager_.Album().Count(), 2);
    Press(SnapshotManager::kIdNonStop);
    EXPECT_TRUE(interval->isEnabled());
    EXPECT_EQ(nonStop->text(), "Non-stop snapshots with 1 sec interval");

    Press(SnapshotManager::kIdDelayed);
    EXPECT_FALSE(nonStop->isEnabled());
    QTest::qWait(2400);
    EXPECT_EQ(manager_.Album().Count(), 3);
    EXPECT_EQ(manager_.Mode(), SnapshotManager::TimerMode::kOff);
    EXPECT_EQ(delayed->text(), "Snapshot with 1 sec delay");

    // Unsaved snapshots ask before closing, which stops the timer; No keeps the dialog.
    manager_.Toggle();
    Press(SnapshotManager::kIdNonStop);
    messages_.SetAnswer(id::kNo);
    manager_.reject();  // Esc
    ASSERT_EQ(Texts(), std::vector<std::string>{"There are unsaved snapshots! Are you sure you want to close "
                                                "Snapshot Manager without saving images?"});
    EXPECT_EQ(messages_.Messages()[0].flags, mb::kYesNo | mb::kIconQuestion);
    EXPECT_TRUE(manager_.isVisible());
    EXPECT_EQ(manager_.Mode(), SnapshotManager::TimerMode::kOff);

    // "Photos..." again hides it at once and keeps the snapshots for the next time.
    manager_.Toggle();
    EXPECT_FALSE(manager_.isVisible());
    manager_.Toggle();
    EXPECT_EQ(manager_.Grid().Layout().Items().size(), 3u);

    messages_.SetAnswer(id::kYes);
    Press(SnapshotManager::kIdDeleteAll);
    EXPECT_EQ(messages_.Messages().back().text, "Are you sure you want to delete all snapshots?");
    EXPECT_EQ(manager_.Album().Count(), 0);
    EXPECT_TRUE(manager_.Grid().Layout().Items().empty());
}

}  // namespace
}  // namespace lumora
