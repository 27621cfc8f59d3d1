#include "platform/desktop_entry.h"
#include "platform/autostart_entry.h"
#include "scoped_env.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>

namespace lumora {
namespace {

TEST(DesktopEntry, ValuesSurviveTheEscapesOnlyTheMainGroupIsReadAndExecArgumentsAreQuoted) {
    DesktopEntry entry;
    entry.Set("Exec", R"("/x\\y")");  // a quoted argument holding one backslash
    entry.Set("Comment", " one\ntwo\t");
    entry.Set("Exec", R"("/x\\y" --again)");  // replaced where it stands
    const std::string text = entry.Text();
    EXPECT_EQ(text, "[Desktop Entry]\nExec=\"/x\\\\\\\\y\" --again\nComment=\\sone\\ntwo\\t\n");
    EXPECT_EQ(DesktopEntry::Parse(text).Text(), text);

    const DesktopEntry read = DesktopEntry::Parse(
        "# comment\n[Desktop Action New]\nHidden=true\n"
        "[Desktop Entry]\r\n  Name =  Lumora  \r\nhidden=true\nno equals sign\nOdd=a\\qb\n"
        "[X-Extra]\nTerminal=true\n");
    // Keys are case-sensitive, other groups do not count, what is not an escape is kept.
    EXPECT_EQ(read.Get("Name").value_or("") + "|" + read.Get("Odd").value_or(""), "Lumora|a\\qb");
    EXPECT_FALSE(read.GetBoolean("Hidden") || read.Get("Terminal"));
    EXPECT_TRUE(DesktopEntry::Parse("[Desktop Entry]\nHidden=1").GetBoolean("Hidden"));

    // Exec arguments are quoted by the format's rules: inside quotes ", `, $ and \ take a
    // backslash, any reserved character needs quotes, and a percent sign is never a field code.
    const std::pair<const char*, const char*> quoted[] = {{"/usr/lib/lumora/lumora", "/usr/lib/lumora/lumora"},
                                                          {"/opt/My Apps/lumora", "\"/opt/My Apps/lumora\""},
                                                          {R"(/a"b`c$d\e)", R"("/a\"b\`c\$d\\e")"},
                                                          {"/a;b'c(d)", "\"/a;b'c(d)\""},
                                                          {"/a%f", "/a%%f"},
                                                          {"/a b%u", "\"/a b%%u\""},
                                                          {"", "\"\""}};
    for (const auto& [argument, expected] : quoted) EXPECT_EQ(DesktopEntry::QuoteExecArgument(argument), expected);
}

class AutostartEntryTest : public ::testing::Test {
protected:
    std::filesystem::path File() const { return dir_.path() / "config" / "autostart" / "lumora.desktop"; }
    AutostartEntry Entry(const std::string& program = "/usr/bin/lumora") const { return {File(), program}; }

    test::TempDir dir_;
};

// What the preferences dialog's tests leave to this one: the whole entry, written without
// leftovers, and what counts as enabled.
TEST_F(AutostartEntryTest, EnableWritesTheWholeEntryOnlyForAnAbsoluteProgramAndCountsItOnlyWhenVisible) {
    ASSERT_TRUE(Entry("/opt/Lumora Apps/lumora").Enable());  // creates the folders
    EXPECT_EQ(test::ReadFileText(File().string()),
              "[Desktop Entry]\nType=Application\nName=Lumora\nComment=Webcam effects and a virtual camera\n"
              "Exec=\"/opt/Lumora Apps/lumora\"\nIcon=lumora\nTerminal=false\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(File().parent_path()), {}), 1);  // no leftovers
    ASSERT_TRUE(Entry().Disable());
    EXPECT_TRUE(Entry().Disable());          // nothing to remove is fine
    EXPECT_FALSE(Entry("lumora").Enable());  // a relative program path: nothing written
    EXPECT_FALSE(std::filesystem::exists(File()));

    // Another program's path still counts; an entry that cannot be read does not.
    test::WriteFileText(File().string(), "[Desktop Entry]\nExec=/elsewhere/lumora\nHidden=false\n");
    EXPECT_TRUE(Entry().IsEnabled());
    if (::geteuid() != 0) {  // root reads anything
        ::chmod(File().c_str(), 0);
        EXPECT_FALSE(Entry().IsEnabled());
    }

    test::ScopedEnv config("XDG_CONFIG_HOME", "/tmp/lumora-xdg");
    test::ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(AutostartEntry::DefaultFile(), "/tmp/lumora-xdg/autostart/lumora.desktop");
    config.Set("relative/config");  // not absolute: ignored
    EXPECT_EQ(AutostartEntry::DefaultFile(), "/home/someone/.config/autostart/lumora.desktop");
    EXPECT_EQ(std::filesystem::path(AutostartEntry::ForThisProgram().program()),
              std::filesystem::canonical("/proc/self/exe"));
}

}  // namespace
}  // namespace lumora
