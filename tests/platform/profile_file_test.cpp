#include "platform/profile_file.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sys/stat.h>

namespace lumora {
namespace {

TEST(ProfileFile, ReadsTextAndIntegersLikeTheWindowsProfileFunctionsAndLookupsFollowEverySet) {
    std::string signs = "a";  // then three-byte euro signs; the 255-byte cut falls inside the 85th
    for (int i = 0; i < 86; ++i) signs += "\xe2\x82\xac";
    const ProfileFile profile(
        "\xEF\xBB\xBForphan=before any section\r\n[Main_Window]\r\n; name=commented out\r\n"
        "  Name  =   Dark Glass  \r\nname=second occurrence\r\ndouble=\"  padded  \"\r\n"
        "single='quoted'\r\nempty=\r\nno equals sign here\r\nsigns=" +
        signs + "\r\n[ general ]\r\nname=First\r\n[MAIN_WINDOW]\r\nhidden=keys of a repeated section are not seen\r\n");

    const std::array<std::string, 3> found[] = {
        {"main_window", "NAME", "Dark Glass"}, {"Main_Window", "double", "  padded  "},
        {"Main_Window", "single", "quoted"},   {"Main_Window", "empty", ""},
        {"general", "name", "First"},          {"Main_Window", "signs", signs.substr(0, 1 + 84 * 3)}};
    for (const auto& [section, key, value] : found) EXPECT_EQ(profile.Find(section, key), value) << key;
    for (const char* key : {"; name", "no equals sign here", "hidden"}) EXPECT_FALSE(profile.Find("Main_Window", key));
    EXPECT_FALSE(profile.Find("", "orphan"));
    EXPECT_EQ(profile.ReadString("Main_Window", "missing", "fallback"), "fallback");

    const ProfileFile numbers(
        "[n]\nnegative=-7\nplus=+3\ntrailing=12px\nwords=bold\nquoted=\"8\"\nempty=\n"
        "wraps=4294967297\n");
    const std::pair<const char*, int> expected[] = {{"negative", -7}, {"plus", 3},   {"trailing", 12}, {"words", 0},
                                                    {"quoted", 8},    {"empty", -1}, {"wraps", 1},     {"missing", -1}};
    for (const auto& [key, value] : expected) EXPECT_EQ(numbers.ReadInt("n", key, -1), value) << key;

    // Lookups follow every Set on the same object.
    ProfileFile edited("[a]\nx=1\n[b]\ny=2\n");
    ASSERT_TRUE(edited.Set("b", "z", "3"));         // after the last line
    ASSERT_TRUE(edited.Set("a", "w", "4"));         // in the middle: the lines below move
    ASSERT_TRUE(edited.Set("B", "Y", " padded "));  // in place
    ASSERT_TRUE(edited.Set("b", "v", "5"));         // after the moved lines
    ASSERT_TRUE(edited.Set("c", "u", "6"));         // a new section
    EXPECT_EQ(edited.Text(), "[a]\nx=1\nw=4\n[b]\ny=\" padded \"\nz=3\nv=5\n\n[c]\nu=6\n");
    const std::array<const char*, 3> set[] = {{"a", "x", "1"}, {"a", "w", "4"}, {"b", "y", " padded "},
                                              {"b", "z", "3"}, {"b", "v", "5"}, {"c", "u", "6"}};
    for (const auto& [section, key, value] : set) EXPECT_EQ(edited.Find(section, key), value) << key;
    std::vector<std::string> keys = edited.Keys(" B ");
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"v", "y", "z"}));
    EXPECT_TRUE(edited.Keys("missing").empty());
}

class ProfileFileOnDisk : public ::testing::Test {
protected:
    test::TempDir dir_;
    const std::string file_ = dir_.file("skin.ini");
};

TEST_F(ProfileFileOnDisk, WriteCreatesOrReplacesTheFileWholeChangingOnlyWhatItMustAndRefusesWhatWouldBreakIt) {
    EXPECT_EQ(std::tuple(ReadProfileString(file_, "s", "k", "none"), ReadProfileInt(file_, "s", "size", 9)),
              std::tuple("none", 9));
    ASSERT_TRUE(WriteProfileString(file_, "s", "k", "v"));
    EXPECT_EQ(test::ReadFileText(file_), "[s]\nk=v\n");
    EXPECT_FALSE(WriteProfileString(dir_.file("no/such/folder/x.pls"), "s", "k", "v"));

    ASSERT_EQ(::chmod(file_.c_str(), 0640), 0);
    ASSERT_TRUE(WriteProfileString(file_, "s", "k", "w"));
    struct stat info {};
    ASSERT_EQ(::stat(file_.c_str(), &info), 0);
    // The mode is kept, and no temporary file remains.
    EXPECT_EQ(std::tuple(info.st_mode & 07777, std::distance(std::filesystem::directory_iterator(dir_.path()), {})),
              std::tuple(0640u, 1));

    // A link stays a link; the file it points to changes.
    const std::string link = dir_.file("link.ini");
    std::filesystem::create_symlink(file_, link);
    ASSERT_TRUE(WriteProfileString(link, "s", "k", "through the link"));
    EXPECT_EQ(std::tuple(std::filesystem::is_symlink(link), ReadProfileString(file_, "s", "k", "")),
              std::tuple(true, "through the link"));

    // A file that exists but cannot be read is not replaced by a one-key file.
    std::filesystem::create_directory(dir_.file("folder.ini"));
    EXPECT_FALSE(WriteProfileString(dir_.file("folder.ini"), "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(dir_.file("folder.ini")));

    // Values read back exactly as written.
    for (const std::string value :
         {"  leading and trailing  ", "\"quoted\"", "'single'", "\"", "a=b;c", "", " ", "\"open", "caf\xc3\xa9"}) {
        ASSERT_TRUE(WriteProfileString(file_, "s", "k", value)) << value;
        EXPECT_EQ(ReadProfileString(file_, "s", "k", "default"), value);
    }

    // An existing file: only what must change does.
    const std::string original =
        "\xEF\xBB\xBF; Skin made by hand\r\n[General]\r\n  Name = Old   ; not a comment\r\n\tname=duplicate stays\r\n"
        "\r\n; The next section is about buttons\r\n[buttons]\r\nclose=close.bmp\r\n"
        "[GENERAL]\r\nname=repeated section stays";
    test::WriteFileText(file_, original);

    ASSERT_TRUE(WriteProfileString(file_, "general", "NAME", "New"));
    ASSERT_TRUE(WriteProfileString(file_, "general", "author", "me"));
    ASSERT_TRUE(WriteProfileString(file_, "buttons", "minimize", "min.bmp"));
    ASSERT_TRUE(WriteProfileString(file_, "colours", "border", "1,2,3"));
    EXPECT_EQ(test::ReadFileText(file_),
              "\xEF\xBB\xBF; Skin made by hand\r\n[General]\r\n  Name=New\r\n\tname=duplicate stays\r\nauthor=me\r\n"
              "\r\n; The next section is about buttons\r\n[buttons]\r\nclose=close.bmp\r\nminimize=min.bmp\r\n"
              "[GENERAL]\r\nname=repeated section stays\r\n\r\n[colours]\r\nborder=1,2,3\r\n");

    // What would break the file is refused.
    const std::string written = test::ReadFileText(file_);
    const std::vector<std::array<std::string, 3>> refused = {{"s", "k", "two\nlines"}, {"s", "k", "carriage\rreturn"},
                                                             {"s", "a=b", "v"},        {"s", ";k", "v"},
                                                             {"s", "[k", "v"},         {"s", "k\n", "v"},
                                                             {"s", "  ", "v"},         {"s]", "k", "v"},
                                                             {"s\n", "k", "v"}};
    for (const auto& [section, key, value] : refused) {
        EXPECT_FALSE(WriteProfileString(file_, section, key, value)) << section << "/" << key;
    }
    EXPECT_EQ(test::ReadFileText(file_), written);
}

}  // namespace
}  // namespace lumora
