#include "tools/playlist_dialog.h"

#include "../app/window/window_test_hooks.h"
#include "platform/app_events.h"
#include "platform/message_recorder.h"
#include "test_support.h"
#include "tools/playlist.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace lumora {
namespace {

// Counts the reconnect requests the dialog posts to the main window.
struct ReconnectTarget : QObject {
    bool event(QEvent* event) override { return requests += event->type() == EventType(MSG_RECONNECT_SOURCE), true; }
    int requests = 0;
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

TEST_F(PlaylistDialogTest, AddedFilesKeepTheirOrderAPlaylistIsExpandedAndTheSelectedEntryMovesAndPlays) {
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

    // Down moves the selected entry; Play selected asks for the source.
    files_.Set({"/v/1.avi", "/v/2.avi", "/v/3.avi"});
    Press(PlaylistDialog::kIdAdd);
    const auto moves = [this] {
        return std::tuple(dialog_.Control(PlaylistDialog::kIdUp)->isEnabled(),
                          dialog_.Control(PlaylistDialog::kIdDown)->isEnabled());
    };
    List().setCurrentRow(0);
    EXPECT_EQ(moves(), std::tuple(false, true));
    Press(PlaylistDialog::kIdDown);
    EXPECT_EQ(playlist_.Entries(), (std::vector<std::string>{"/v/2.avi", "/v/1.avi", "/v/3.avi"}));
    EXPECT_EQ(std::tuple(List().currentRow(), moves()), std::tuple(1, std::tuple(true, true)));

    List().setCurrentRow(2);
    EXPECT_EQ(moves(), std::tuple(true, false));
    Press(PlaylistDialog::kIdPlay);
    QCoreApplication::sendPostedEvents(&window_);
    EXPECT_EQ(std::tuple(playlist_.CurrentIndex(), window_.requests), std::tuple(2, 1));
    Press(PlaylistDialog::kIdDelete);
    EXPECT_EQ(std::tuple(playlist_.Count(), List().currentRow()), std::tuple(2, -1));
}

// Selection wraps, random order never repeats the current entry; .pls files add to the
// list, skip blank or missing entries, make full paths and never trust the entry count.
// (Saving is the dialog test's.)
TEST(Playlist, SelectsInTurnOrAtRandomAndReadsPlsFiles) {
    Playlist playlist;
    EXPECT_EQ(std::tuple(playlist.Select(0), playlist.CurrentIndex()), std::tuple(std::nullopt, -1));
    playlist.AddFile("");
    playlist.AddFile("/a.avi");
    EXPECT_EQ(playlist.Next(), "/a.avi");  // one entry: always the first
    playlist.AddFile("/b.avi");
    playlist.AddFile("/c.avi");
    // Out of range selects the first; Next wraps.
    const auto first = playlist.Select(7);
    const auto second = playlist.Next();
    const auto third = playlist.Next();
    EXPECT_EQ(std::tuple(first, second, third, playlist.Next()), std::tuple("/a.avi", "/b.avi", "/c.avi", "/a.avi"));

    playlist.SetRandom(true);
    for (int i = 0; i < 50; ++i) {
        const int before = playlist.CurrentIndex();
        ASSERT_TRUE(playlist.Next());
        EXPECT_NE(playlist.CurrentIndex(), before);
    }
    playlist.Remove(5);
    playlist.Remove(0);
    EXPECT_EQ(playlist.Entries(), (std::vector<std::string>{"/b.avi", "/c.avi"}));
    playlist.Clear();
    EXPECT_EQ(std::tuple(playlist.CurrentIndex(), playlist.Current()), std::tuple(-1, std::nullopt));

    test::TempDir dir;
    test::WriteFileText(dir.file("odd.pls"),
                        "[Playlist]\r\nfile1=  /x.avi\t\r\nFile2=   \r\nFile4=/y.avi\r\n"
                        "NumberOfEntries=4\r\n");
    Playlist odd;
    odd.AddFile("/already.avi");
    ASSERT_TRUE(odd.LoadPls(dir.file("odd.pls")));
    EXPECT_EQ(std::tuple(odd.Entries(), odd.CurrentIndex()),
              std::tuple(std::vector<std::string>{"/already.avi", "/x.avi", "/y.avi"}, -1));
    EXPECT_FALSE(odd.LoadPls(dir.file("missing.pls")));

    // Entries another player wrote relative to the list, or as file addresses, become full
    // paths (after those already loaded).
    std::filesystem::create_directories(dir.path() / "lists");
    const std::string folder = dir.file("lists");
    test::WriteFileText(folder + "/other.pls",
                        "[playlist]\nFile1=clip one.avi\nFile2=../shared/two.mpg\n"
                        "File3=file:///home/u/caf%C3%A9%20time.avi\nFile4=FILE://localhost/srv/a%2b.avi\n"
                        "File5=file:/srv/single%zzslash.avi\nFile6=file://server/share/x.avi\n"
                        "File7=file:///bad%00zero.avi\nNumberOfEntries=7\n");
    ASSERT_TRUE(odd.LoadPls(folder + "/other.pls"));
    EXPECT_EQ(odd.Entries(), (std::vector<std::string>{"/already.avi", "/x.avi", "/y.avi", folder + "/clip one.avi",
                                                       folder + "/../shared/two.mpg", "/home/u/caf\xc3\xa9 time.avi",
                                                       "/srv/a+.avi", "/srv/single%zzslash.avi",
                                                       "file://server/share/x.avi", "file:///bad%00zero.avi"}));

    // The entry count is not trusted beyond the entries present.
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        // A count no file holds: the three entries, at once.
        {"NumberOfEntries=2147483647\nFile3=/c.avi\nFile1=/a.avi\nFile2=/b.avi\n", {"/a.avi", "/b.avi", "/c.avi"}},
        // Only File1 ... File<count>, in number order, and only keys spelled that way.
        {"NumberOfEntries=3\nFile4=/d.avi\nFile3=/c.avi\nFile01=/zero.avi\nFile0=/z.avi\nFile-1=/m.avi\n"
         "File2=\nFile1 x=/x.avi\nFILE1=/a.avi\n",
         {"/a.avi", "/c.avi"}},
        {"NumberOfEntries=-5\nFile1=/a.avi\n", {}},
        {"File1=/a.avi\n", {}},
        {"NumberOfEntries=4294967295\nFile1=/a.avi\n", {}},  // wraps around to -1
    };
    for (const auto& [text, expected] : cases) {
        test::WriteFileText(dir.file("list.pls"), "[playlist]\n" + text);
        Playlist playlist;
        ASSERT_TRUE(playlist.LoadPls(dir.file("list.pls")));
        EXPECT_EQ(playlist.Entries(), expected) << text;
    }

    EXPECT_EQ(std::tuple(Playlist::IsPlaylistFile(" /a/B.PLS\t"), Playlist::IsPlaylistFile("/a/b.pls.avi"),
                         Playlist::IsPlaylistFile("pls")),
              std::tuple(true, false, false));
}

}  // namespace
}  // namespace lumora
