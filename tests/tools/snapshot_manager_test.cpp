#include "tools/snapshot_manager.h"

#include "../app/url_recorder.h"
#include "frames/frame_copy_event.h"
#include "platform/message_recorder.h"
#include "scoped_env.h"
#include "test_support.h"
#include "tools/snapshot_names.h"
#include "tools/thumbnail_grid.h"
#include "tools/thumbnail_painter.h"

#include <lumora/zimage.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace lumora {
namespace {

// Answers every frame request with a frame of the size it is set to, each one a shade
// lighter than the one before.
struct FrameSource : QObject {
    QSize size{640, 480};
    int served = 0;

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

using Messages = std::vector<std::pair<std::string, unsigned>>;
const Messages::value_type kUnsaved{
    "There are unsaved snapshots! Are you sure you want to close Snapshot Manager without saving images?",
    mb::kYesNo | mb::kIconQuestion};

class SnapshotManagerTest : public ::testing::Test {
protected:
    void Press(int id) { manager_.Control<QPushButton>(id)->click(); }
    Messages Shown() const {
        Messages shown;
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

TEST_F(SnapshotManagerTest, ThumbnailsKeepTheFrameProportionsAndAFileThatCannotBeWrittenIsReported) {
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
    QTest::mouseDClick(manager_.Control<ThumbnailGrid>(SnapshotManager::kIdGrid), Qt::LeftButton, {},
                       manager_.Grid().Layout().PlacedCells()[1].rect.center());  // the second
    ASSERT_EQ(viewer.urls().size(), 1u);
    EXPECT_EQ(QImage(QUrl(QString::fromStdString(viewer.urls()[0])).toLocalFile(), "JPEG").size(), QSize(176, 144));
    EXPECT_EQ(manager_.Grid().Layout().Selected(), 1);

    // A file that cannot be written (here the file size limit refuses every byte, which
    // stops root as well) stops the saving with its name: nothing claims success, no
    // partial file is left, and the snapshots stay unsaved, so closing still asks.
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->setText(QString::fromStdString(dir_.path().string()));
    test::WithFileSizeLimit(16, [&] { Press(SnapshotManager::kIdSaveAll); });
    EXPECT_EQ(Files(), 0);
    EXPECT_EQ(Shown(), (Messages{{"Couldn't save snapshot:\n" + dir_.file("snapshot000.jpg"), mb::kIconWarning}}));
    messages_.Clear();
    manager_.show();
    Press(TemplateDialog::kIdCancel);
    EXPECT_EQ(Shown(), Messages{kUnsaved});
}

TEST_F(SnapshotManagerTest, SavingNumbersPastExistingFilesAndSavesEverySnapshotEachTime) {
    for (const char* name : {"snapshot000.jpg", "snapshot001.bmp", "snapshot999.jpg"})
        test::WriteFileText(dir_.file(name), "x");
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)
        ->setText(QString::fromStdString(" \t" + dir_.path().string() + "  "));
    for (int i = 0; i < 3; ++i) Press(SnapshotManager::kIdTakeSnapshot);
    Press(SnapshotManager::kIdSaveAll);
    Press(SnapshotManager::kIdSaveAll);
    EXPECT_EQ(std::tuple(Files(), std::filesystem::exists(dir_.file("snapshot002.jpg")),
                         std::filesystem::exists(dir_.file("snapshot007.jpg"))),
              std::tuple(3 + 6, true, true));
    EXPECT_EQ(std::tuple(SnapshotNames::FindFree(dir_.path(), 998), SnapshotNames::FindFree(dir_.path(), 999)),
              std::tuple(998, std::nullopt));  // the numbers run out at 999
    EXPECT_EQ(Shown(), Messages(2, {"Snapshots saved!", mb::kIconInformation}));

    // A typed folder must exist.
    messages_.Clear();
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->setText(QString::fromStdString(dir_.file("nowhere")));
    Press(SnapshotManager::kIdSaveAll);
    manager_.Control<QLineEdit>(SnapshotManager::kIdFolder)->setText("  ");
    Press(SnapshotManager::kIdSaveAll);
    EXPECT_EQ(Shown(), (Messages{{"Please specify correct snapshots folder!", mb::kIconWarning},
                                 {"Please specify snapshots folder!", mb::kIconInformation}}));
}

TEST_F(SnapshotManagerTest, IntervalSnapshotsRunUntilStoppedAndUnsavedOnesAskBeforeClosing) {
    auto* interval = manager_.Control<QSlider>(SnapshotManager::kIdInterval);
    auto* delayed = manager_.Control<QPushButton>(SnapshotManager::kIdDelayed);
    auto* nonStop = manager_.Control<QPushButton>(SnapshotManager::kIdNonStop);
    interval->setValue(1);
    EXPECT_EQ(nonStop->text(), "Non-stop snapshots with 1 sec interval");

    // A snapshot a second (lower bounds only: a busy machine is late, never early).
    QElapsedTimer clock;
    clock.start();
    Press(SnapshotManager::kIdNonStop);
    EXPECT_EQ(std::tuple(nonStop->text(), interval->isEnabled(), delayed->isEnabled()),
              std::tuple("Stop", false, false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager_.Album().Count() == 2; }, 5000));
    EXPECT_GE(clock.restart(), 1800);
    Press(SnapshotManager::kIdNonStop);
    EXPECT_EQ(std::tuple(interval->isEnabled(), nonStop->text()),
              std::tuple(true, "Non-stop snapshots with 1 sec interval"));

    Press(SnapshotManager::kIdDelayed);
    EXPECT_FALSE(nonStop->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager_.Mode() == SnapshotManager::TimerMode::kOff; }, 5000));
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_EQ(std::tuple(manager_.Album().Count(), delayed->text()), std::tuple(3, "Snapshot with 1 sec delay"));

    // Unsaved snapshots ask before closing, which stops the timer; No keeps the dialog.
    manager_.Toggle();
    Press(SnapshotManager::kIdNonStop);
    messages_.SetAnswer(id::kNo);
    manager_.reject();  // Esc
    ASSERT_EQ(Shown(), Messages{kUnsaved});
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

TEST(ThumbnailPainter, APictureIsCentredAndAMissingOneIsABlackArea) {
    // Cells of 132 x (90 + 6 + 6): item 120 x 90, margin 6, labels 6 high.
    ThumbnailLayout layout(QSize(120, 90), 6, [](const QString&, int) { return 6; });
    layout.SetClientSize(QSize(300, 120));
    QImage red(110, 90, QImage::Format_RGB32);
    red.fill(Qt::red);
    layout.Add({red, "176x144", 0});
    layout.Add({QImage(), "none", 1});
    QImage canvas(300, 120, QImage::Format_RGB32);
    QPainter painter(&canvas);
    ThumbnailPainter::Paint(painter, layout, canvas.size(), Qt::black);
    painter.end();
    // Item 0 is selected: light grey around the picture, which is 5 pixels in from each side.
    // Item 1, not selected: white cell, black picture area.
    const QColor grey(0xC0, 0xC0, 0xC0);
    for (const auto& [x, colour] :
         {std::pair{6 + 4, grey}, std::pair{6 + 5, QColor(Qt::red)}, std::pair{6 + 114, QColor(Qt::red)},
          std::pair{6 + 115, grey}, std::pair{132 + 3, QColor(Qt::white)}, std::pair{132 + 60, QColor(Qt::black)}})
        EXPECT_EQ(canvas.pixelColor(x, 50), colour) << x;
}

}  // namespace
}  // namespace lumora
