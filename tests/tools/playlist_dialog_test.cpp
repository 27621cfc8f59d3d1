#include "tools/playlist_dialog.h"

#include "../app/window/window_test_hooks.h"
#include "platform/app_events.h"
#include "platform/message_recorder.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace lumora {
namespace {

// Counts the reconnect requests the dialog posts to the main window.
class ReconnectTarget : public QObject {
public:
    int requests = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == EventType(MSG_RECONNECT_SOURCE)) ++requests;
        return true;
    }
};

class PlaylistDialogTest : public ::testing::Test {
protected:
    void Press(int id) { dialog_.Control<QPushButton>(id)->click(); }
    QListWidget& List() { return *dialog_.Control<QListWidget>(PlaylistDialog::kIdList); }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int i = 0; i < List().count(); ++i) rows.push_back(List().item(i)->text().toStdString());
        return rows;
    }

    test::TempDir dir_;
    MessageRecorder messages_{id::kYes};
    Playlist playlist_;
    ReconnectTarget window_;
    PlaylistDialog dialog_{playlist_, &window_, nullptr};
    test::FileAnswer files_;
};

TEST_F(PlaylistDialogTest, AddedFilesKeepTheirOrderWithAPlaylistExpandedInPlace) {
    test::WriteFileText(dir_.file("list.pls"), "[playlist]\nFile1=/v/x.avi\nFile2=/v/y.avi\nNumberOfEntries=2\n");
    playlist_.AddFile("/v/first.avi");
    files_.Set({"/v/a.avi", QString::fromStdString(dir_.file("list.pls")), "/v/b.avi"});
    Press(PlaylistDialog::kIdAdd);
    ASSERT_EQ(files_.Requests().size(), 1u);
    const FileChoice& request = files_.Requests()[0];
    EXPECT_EQ(std::tie(request.title, request.mode, request.filters.front().first),
              std::tuple("Open File...", FileChoice::Mode::kOpenMany,
                         "Video Files (*.avi; *.mpg; *.mpeg; *.dat; *.m1v; *.mp2)"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"/v/first.avi", "/v/a.avi", "/v/x.avi", "/v/y.avi", "/v/b.avi"}));
    EXPECT_EQ(std::tuple(playlist_.CurrentIndex(), dialog_.Control(PlaylistDialog::kIdDelete)->isEnabled()),
              std::tuple(0, false));

    // Open playlist... replaces the list; Save playlist... writes it back.
    files_.Set({QString::fromStdString(dir_.file("list.pls"))});
    Press(PlaylistDialog::kIdOpen);
    EXPECT_EQ(files_.Requests().back().filters.front().first, "Playlist (*.pls)");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"/v/x.avi", "/v/y.avi"}));
    files_.Set({QString::fromStdString(dir_.file("saved.pls"))});
    Press(PlaylistDialog::kIdSave);
    EXPECT_EQ(files_.Requests().back().title, "Save Playlist...");
    EXPECT_EQ(test::ReadFileText(dir_.file("saved.pls")),
              "[playlist]\nFile1=/v/x.avi\nFile2=/v/y.avi\nNumberOfEntries=2\n");

    // Clear asks first; an empty list cannot be saved.
    messages_.SetAnswer(id::kNo);
    Press(PlaylistDialog::kIdClear);
    EXPECT_EQ(Rows().size(), 2u);
    messages_.SetAnswer(id::kYes);
    Press(PlaylistDialog::kIdClear);
    EXPECT_EQ(std::tuple(messages_.Messages().back().text, Rows().size()),
              std::tuple("Are you sure you want to remove all files from the playlist?", 0u));
    const std::size_t asked = files_.Requests().size();
    Press(PlaylistDialog::kIdSave);
    EXPECT_EQ(files_.Requests().size(), asked);
}

TEST_F(PlaylistDialogTest, DownMovesTheSelectedEntryAndPlaySelectedAsksForTheSource) {
    for (const char* file : {"/v/1.avi", "/v/2.avi", "/v/3.avi"}) playlist_.AddFile(file);
    PlaylistDialog dialog(playlist_, &window_, nullptr);
    auto& list = *dialog.Control<QListWidget>(PlaylistDialog::kIdList);
    const auto moves = [&dialog] {
        return std::tuple(dialog.Control(PlaylistDialog::kIdUp)->isEnabled(),
                          dialog.Control(PlaylistDialog::kIdDown)->isEnabled());
    };
    list.setCurrentRow(0);
    EXPECT_EQ(moves(), std::tuple(false, true));
    dialog.Control<QPushButton>(PlaylistDialog::kIdDown)->click();
    EXPECT_EQ(playlist_.Entries(), (std::vector<std::string>{"/v/2.avi", "/v/1.avi", "/v/3.avi"}));
    EXPECT_EQ(std::tuple(list.currentRow(), moves()), std::tuple(1, std::tuple(true, true)));

    list.setCurrentRow(2);
    EXPECT_EQ(moves(), std::tuple(true, false));
    dialog.Control<QPushButton>(PlaylistDialog::kIdPlay)->click();
    QCoreApplication::sendPostedEvents(&window_);
    EXPECT_EQ(std::tuple(playlist_.CurrentIndex(), window_.requests), std::tuple(2, 1));
    dialog.Control<QPushButton>(PlaylistDialog::kIdDelete)->click();
    EXPECT_EQ(std::tuple(playlist_.Count(), list.currentRow()), std::tuple(2, -1));
}

}  // namespace
}  // namespace lumora
