#include "test_support.h"
#include "tools/playlist.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(Playlist, SelectionWrapsAndRandomOrderNeverRepeatsTheCurrentEntry) {
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
}

TEST(Playlist, PlsFilesRoundTripSkipBlankOrMissingEntriesAndMakeFullPaths) {
    test::TempDir dir;
    Playlist saved;
    saved.AddFile("/videos/one.avi");
    saved.AddFile("/videos/with space.mpg");
    saved.AddFile("/videos/one.avi");
    ASSERT_TRUE(saved.SavePls(dir.file("list.pls")));
    EXPECT_EQ(test::ReadFileText(dir.file("list.pls")),
              "[playlist]\nFile1=/videos/one.avi\nFile2=/videos/with space.mpg\nFile3=/videos/one.avi\n"
              "NumberOfEntries=3\n");
    saved.AddFile("/already.avi");
    ASSERT_TRUE(saved.LoadPls(dir.file("list.pls")));
    EXPECT_EQ(std::tuple(saved.Count(), saved.CurrentIndex()), std::tuple(7, -1));  // added to what was there

    test::WriteFileText(dir.file("odd.pls"), "[Playlist]\r\nfile1=  /x.avi\t\r\nFile2=   \r\nFile4=/y.avi\r\n"
                                             "NumberOfEntries=4\r\n");
    Playlist odd;
    ASSERT_TRUE(odd.LoadPls(dir.file("odd.pls")));
    EXPECT_EQ(odd.Entries(), (std::vector<std::string>{"/x.avi", "/y.avi"}));
    EXPECT_FALSE(odd.LoadPls(dir.file("missing.pls")));

    // Entries another player wrote relative to the list, or as file addresses, become full
    // paths (after those already loaded).
    std::filesystem::create_directories(dir.path() / "lists");
    const std::string folder = dir.file("lists");
    test::WriteFileText(folder + "/other.pls",
                        "[playlist]\n"
                        "File1=clip one.avi\n"
                        "File2=../shared/two.mpg\n"
                        "File3=file:///home/u/caf%C3%A9%20time.avi\n"
                        "File4=FILE://localhost/srv/a%2b.avi\n"
                        "File5=file:/srv/single%zzslash.avi\n"
                        "File6=file://server/share/x.avi\n"
                        "File7=file:///bad%00zero.avi\n"
                        "NumberOfEntries=7\n");
    ASSERT_TRUE(odd.LoadPls(folder + "/other.pls"));
    EXPECT_EQ(odd.Entries(),
              (std::vector<std::string>{"/x.avi", "/y.avi", folder + "/clip one.avi", folder + "/../shared/two.mpg",
                                        "/home/u/caf\xc3\xa9 time.avi", "/srv/a+.avi", "/srv/single%zzslash.avi",
                                        "file://server/share/x.avi", "file:///bad%00zero.avi"}));

    EXPECT_EQ(std::tuple(Playlist::IsPlaylistFile(" /a/B.PLS\t"), Playlist::IsPlaylistFile("/a/b.pls.avi"),
                         Playlist::IsPlaylistFile("pls")),
              std::tuple(true, false, false));
}

TEST(Playlist, TheEntryCountIsNotTrustedBeyondTheEntriesPresent) {
    test::TempDir dir;
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
}

}  // namespace
}  // namespace lumora
