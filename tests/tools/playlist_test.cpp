#include "test_support.h"
#include "tools/playlist.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(Playlist, SelectionWrapsAndRandomOrderNeverRepeatsTheCurrentEntry) {
    Playlist playlist;
    EXPECT_FALSE(playlist.Select(0));
    EXPECT_EQ(playlist.CurrentIndex(), -1);
    playlist.AddFile("");
    playlist.AddFile("/a.avi");
    EXPECT_EQ(playlist.Next(), "/a.avi");  // one entry: always the first
    playlist.AddFile("/b.avi");
    playlist.AddFile("/c.avi");
    EXPECT_EQ(playlist.Select(7), "/a.avi");  // out of range: the first
    EXPECT_EQ(playlist.Next(), "/b.avi");
    EXPECT_EQ(playlist.Next(), "/c.avi");
    EXPECT_EQ(playlist.Next(), "/a.avi");

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
    EXPECT_EQ(playlist.CurrentIndex(), -1);
    EXPECT_FALSE(playlist.Current());
}

TEST(Playlist, PlsFilesRoundTripAndSkipBlankOrMissingEntries) {
    test::TempDir dir;
    Playlist saved;
    saved.AddFile("/videos/one.avi");
    saved.AddFile("/videos/with space.mpg");
    saved.AddFile("/videos/one.avi");
    ASSERT_TRUE(saved.SavePls(dir.file("list.pls")));
    EXPECT_EQ(test::ReadFileText(dir.file("list.pls")),
              "[playlist]\nFile1=/videos/one.avi\nFile2=/videos/with space.mpg\nFile3=/videos/one.avi\n"
              "NumberOfEntries=3\n");
    Playlist loaded;
    loaded.AddFile("/already.avi");
    ASSERT_TRUE(loaded.LoadPls(dir.file("list.pls")));
    EXPECT_EQ(loaded.Count(), 4);
    EXPECT_EQ(loaded.CurrentIndex(), -1);

    test::WriteFileText(dir.file("odd.pls"), "[Playlist]\r\nfile1=  /x.avi\t\r\nFile2=   \r\nFile4=/y.avi\r\n"
                                             "NumberOfEntries=4\r\n");
    Playlist odd;
    ASSERT_TRUE(odd.LoadPls(dir.file("odd.pls")));
    EXPECT_EQ(odd.Entries(), (std::vector<std::string>{"/x.avi", "/y.avi"}));
    EXPECT_FALSE(odd.LoadPls(dir.file("missing.pls")));

    EXPECT_TRUE(Playlist::IsPlaylistFile(" /a/B.PLS\t"));
    EXPECT_FALSE(Playlist::IsPlaylistFile("/a/b.pls.avi"));
    EXPECT_FALSE(Playlist::IsPlaylistFile("pls"));
}

}  // namespace
}  // namespace lumora
