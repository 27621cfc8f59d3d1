#include "config_dir_fixture.h"
#include "scoped_env.h"

#include "platform/reg_file_format.h"
#include "platform/settings_store.h"

#include <lumora/registry.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <tuple>

namespace lumora {
namespace {

constexpr const char* kKey = "SOFTWARE\\Lumora";

using test::ScopedEnv;

TEST(SettingsStoreFile, FollowsTheEnvironment) {
    ScopedEnv config("LUMORA_CONFIG_DIR", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", "/x/cfg");
    ScopedEnv home("HOME", "/home/u");
    EXPECT_EQ(SettingsStore::DefaultFile(), "/x/cfg/lumora/lumora.reg");
    xdg.Set("relative/cfg");  // not allowed by the base directory rules
    EXPECT_EQ(SettingsStore::DefaultFile(), "/home/u/.config/lumora/lumora.reg");
    config.Set("/c");
    EXPECT_EQ(SettingsStore::DefaultFile(), "/c/lumora.reg");
}

class SettingsStoreTest : public test::ConfigDirTest {};

TEST_F(SettingsStoreTest, ACachedReadSeesEveryRewriteOfTheFileAndTheFirstWriteCreatesTheFolder) {
    const std::string one = "[SOFTWARE\\Lumora]\n\"Level\"=dword:00000001\n";
    test::WriteFileText(RegFile(), one);
    ASSERT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Level", 0u), 1u);

    // Someone rewrites the file in place, to the same size, and puts its modification time
    // back (as "cp -p" does): only the status-change time tells.
    struct stat before {};
    ASSERT_EQ(::stat(RegFile().c_str(), &before), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // past a tick of the file system's clock
    const std::string two = "[SOFTWARE\\Lumora]\n\"Level\"=dword:00000002\n";
    const int fd = ::open(RegFile().c_str(), O_WRONLY);
    ASSERT_EQ(::pwrite(fd, two.data(), two.size(), 0), static_cast<ssize_t>(two.size()));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
    struct stat after {};
    ASSERT_EQ(::stat(RegFile().c_str(), &after), 0);
    ASSERT_TRUE(after.st_ino == before.st_ino && after.st_size == before.st_size &&
                after.st_mtim.tv_nsec == before.st_mtim.tv_nsec)
        << "the rewrite is to leave only the status-change time to tell";
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Level", 0u), 2u);
    // Writes of other processes while this one reads are in ConcurrentProcessesAndThreadsLoseNoValue.
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Level", 4));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Level", 0u), 4u);
    std::filesystem::remove(RegFile());
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Level", 0u), 0u) << "a deleted file reads as empty";

    // The file as the README shows it; the first write creates the folder.
    const std::string readme =
        "[SOFTWARE\\Lumora]\n\"RememberLastSource\"=dword:00000001\n"
        "\"LastSourceID\"=\"/dev/v4l/by-id/usb-Camera-video-index0\"\n";
    test::WriteFileText(RegFile(), readme);
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "RememberLastSource", 0u), 1u);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kKey, "LastSourceID"), "/dev/v4l/by-id/usb-Camera-video-index0");
    EXPECT_EQ(test::ReadFileText(RegFile()), readme) << "reading leaves the file as it is";

    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "LastSourceType", 1003));
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"lumora.reg", "lumora.reg.lock"}));

    const std::string folder = dir_.file("a/b");
    ::setenv("LUMORA_CONFIG_DIR", folder.c_str(), 1);
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 3u), 3u);
    EXPECT_FALSE(std::filesystem::exists(folder)) << "reads create nothing";
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 4));
    EXPECT_TRUE(test::ReadFileText(folder + "/lumora.reg").starts_with("Lumora Registry Version 1\n"));
}

// Runs `body` in a child process that permissions apply to: as root they do not, so the
// child becomes an unprivileged user, to whom `owned` are given first. Answers the
// child's exit code, or nothing when the child could not give up its privileges.
std::optional<int> RunUnprivileged(const std::vector<std::string>& owned, const std::function<int()>& body) {
    constexpr uid_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    if (root) {
        for (const std::string& path : owned) {
            if (::chown(path.c_str(), kNobody, kNobody) != 0) return std::nullopt;
        }
    }
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                     ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            ::_exit(100);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 100) return std::nullopt;
    return WEXITSTATUS(status);
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsLeftAloneAndNotWrittenOver) {
    const std::string saved = "[SOFTWARE\\Lumora]\n\"RememberLastSource\"=dword:00000001\n";
    test::WriteFileText(RegFile(), saved);
    ASSERT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "RememberLastSource", 0u), 1u);  // now in the cache
    ASSERT_EQ(::chmod(RegFile().c_str(), 0), 0);

    // In the child, the read fails for real: defaults, no write, no delete.
    const std::optional<int> failures = RunUnprivileged({dir_.path().string(), RegFile()}, [] {
        const bool read = ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "RememberLastSource", 7u) != 7u;
        const bool written = WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "RememberLastSource", 0);
        return read | (written << 1) | (DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "RememberLastSource") << 2);
    });
    if (!failures) GTEST_SKIP() << "cannot run a process without privileges here";
    EXPECT_EQ(*failures, 0) << "1: a value was read, 2: a write succeeded, 4: a delete succeeded";
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"lumora.reg", "lumora.reg.lock"}));
    ASSERT_EQ(::chmod(RegFile().c_str(), 0644), 0);
    EXPECT_EQ(test::ReadFileText(RegFile()), saved);
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "RememberLastSource", 0u), 1u);

    // Something other than a file in its place: the same, whoever we run as.
    std::filesystem::remove(RegFile());
    std::filesystem::create_directory(RegFile());
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 3u), 3u);
    EXPECT_FALSE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 4));
    EXPECT_FALSE(DeleteRegKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_TRUE(std::filesystem::is_directory(RegFile()));
    ASSERT_EQ(::mkfifo(dir_.file("fifo.reg").c_str(), 0600), 0);
    const SettingsStore fifo(dir_.file("fifo.reg"));
    EXPECT_TRUE(fifo.Read()->keys().empty()) << "a FIFO is not waited on";
    EXPECT_FALSE(fifo.WriteValue(kKey, RegValue{"A", REG_DWORD, {1, 0, 0, 0}}));
    EXPECT_EQ(FolderEntries(),
              (std::vector<std::string>{"fifo.reg", "fifo.reg.lock", "lumora.reg", "lumora.reg.lock"}));
}

TEST_F(SettingsStoreTest, AMalformedFileIsSetAsideWithOneLineNamingBothFiles) {
    const std::string damaged = "[K]\n\"Old\"=dword:zz\n";
    test::WriteFileText(RegFile(), damaged);
    test::WriteFileText(RegFile() + ".bad", "older");

    // Several readers at once: one of them sets the file aside, and says so once.
    testing::internal::CaptureStderr();
    std::vector<std::thread> readers;
    std::atomic<int> defaults{0};
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&] { defaults += ReadRegDword(HKEY_LOCAL_MACHINE, "K", "Old", 5u) == 5u; });
    }
    for (std::thread& reader : readers) reader.join();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(defaults, 4);
    EXPECT_TRUE(std::count(said.begin(), said.end(), '\n') == 1 && said.ends_with("\n")) << said;
    EXPECT_NE(said.find('"' + RegFile() + '"'), std::string::npos) << said;
    EXPECT_NE(said.find('"' + RegFile() + ".bad.1\""), std::string::npos) << said;
    EXPECT_EQ(test::ReadFileText(RegFile() + ".bad.1"), damaged);
    EXPECT_EQ(test::ReadFileText(RegFile() + ".bad"), "older");
    EXPECT_FALSE(std::filesystem::exists(RegFile()));

    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "New", 1));
    EXPECT_EQ(OpenRegKey(HKEY_LOCAL_MACHINE, kKey).value().values().size(), 1u);
    // A write over a damaged file sets it aside too, and starts a fresh one.
    test::WriteFileText(RegFile(), "\x01\x02 not settings at all");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Other", 1));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(".bad.2"), std::string::npos);
    EXPECT_EQ(test::ReadFileText(RegFile() + ".bad.2"), "\x01\x02 not settings at all");
    EXPECT_EQ(OpenRegKey(HKEY_LOCAL_MACHINE, kKey).value().values().size(), 1u);
}

TEST_F(SettingsStoreTest, ReadersNeverSeeAHalfWrittenFile) {
    // The writer goes on until the reader has watched the file change several times.
    constexpr int kStatesToSee = 5;
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "V0", 0));
    std::atomic<int> statesSeen{0};
    std::atomic<bool> done{false}, torn{false};
    std::thread writer([&] {
        std::vector<std::uint8_t> pad(8192);
        for (std::uint32_t i = 1; !torn && (i <= 150 || (statesSeen < kStatesToSee && i <= 20000)); ++i) {
            pad.assign(pad.size(), static_cast<std::uint8_t>(i));
            EXPECT_TRUE(WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "Pad", pad.data(), pad.size()));
            const std::string name = "V" + std::to_string(i);
            EXPECT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, name.c_str(), i));
        }
        done = true;
    });
    std::size_t lastCount = 0;
    while (!done && !torn) {
        // An empty or missing file is as torn as a half-written one.
        const auto document = RegFileFormat::Parse(test::ReadFileText(RegFile()));
        const RegKeyEntry* key = document ? document->FindKey(kKey) : nullptr;
        const std::size_t count = key ? key->values.size() : 0;
        torn = count == 0 || count < lastCount;
        if (count > lastCount) ++statesSeen;
        lastCount = count;
    }
    writer.join();
    EXPECT_FALSE(torn) << "torn or stale file after " << statesSeen << " states";
    EXPECT_GE(statesSeen, kStatesToSee) << "the reader did not overlap the writes";
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"lumora.reg", "lumora.reg.lock"}))
        << "no temporary or set-aside file remains";
}

TEST_F(SettingsStoreTest, ConcurrentProcessesAndThreadsLoseNoValue) {
    constexpr int kProcesses = 3, kThreads = 2;
    constexpr std::uint32_t kEach = 40;
    auto writeAll = [](const std::string& prefix) {
        bool ok = true;
        for (std::uint32_t i = 0; i < kEach; ++i) {
            ok &= WriteRegDword(HKEY_LOCAL_MACHINE, kKey, (prefix + std::to_string(i)).c_str(), i);
        }
        return ok;
    };
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(writeAll("P" + std::to_string(p) + "_") ? 0 : 1);
        children.push_back(child);
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] { EXPECT_TRUE(writeAll("T" + std::to_string(t) + "_")); });
    }
    for (std::thread& thread : threads) thread.join();
    for (pid_t child : children) {
        int status = -1;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    EXPECT_EQ(OpenRegKey(HKEY_LOCAL_MACHINE, kKey).value().values().size(), (kProcesses + kThreads) * kEach);
    for (const std::string prefix : {"P0_", "P2_", "T1_"}) {
        EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, (prefix + "39").c_str(), 0u), 39u);
    }
}

constexpr const char* kPip = "SOFTWARE\\Lumora\\9FFBA7A9-17C1-4490-BC91-5273A4314C0E";

using Bytes = std::vector<std::uint8_t>;

class RegistryTest : public test::ConfigDirTest {};

TEST_F(RegistryTest, EachReaderOnlyAcceptsItsOwnTypesAndValuesRoundTripExactly) {
    ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, kKey, "Text", "1003"));
    ASSERT_TRUE(WriteRegExpandString(HKEY_LOCAL_MACHINE, kKey, "Expand", "$HOME/x"));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Number", 0x01020304));
    const std::uint8_t four[] = {1, 0, 0, 0};
    ASSERT_TRUE(WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "Four", four, sizeof four));

    // A DWORD only comes from a REG_DWORD, not from text or 4 binary bytes.
    for (const auto& [name, read] : {std::pair{"Text", 5u}, {"Four", 5u}, {"Number", 0x01020304u}}) {
        EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, name, 5u), read) << name;
    }

    // Text comes from both string types, unexpanded, never from numbers or binaries.
    EXPECT_EQ(
        std::tuple(ReadRegString(HKEY_LOCAL_MACHINE, kKey, "Text"), ReadRegString(HKEY_LOCAL_MACHINE, kKey, "Expand")),
        std::tuple(std::optional<std::string>("1003"), std::optional<std::string>("$HOME/x")));
    EXPECT_FALSE(ReadRegString(HKEY_LOCAL_MACHINE, kKey, "Number") || ReadRegString(HKEY_LOCAL_MACHINE, kKey, "Four"));

    // Raw bytes come from anything, in the stored layout.
    EXPECT_EQ(ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "Text"), (Bytes{'1', '0', '0', '3', 0}));
    EXPECT_EQ(ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "Number"), (Bytes{4, 3, 2, 1}));

    // An opened key answers size and type, in any spelling.
    ASSERT_TRUE(WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "Empty", nullptr, 0));
    const std::optional<RegKey> key = OpenRegKey(HKEY_LOCAL_MACHINE, "software\\lumora");
    ASSERT_TRUE(key);
    Bytes buffer{9, 9};
    std::uint32_t type = 77;
    const auto query = [&](const char* name) {
        return std::tuple(QueryRegValue(*key, name, &buffer, &type), buffer, type);
    };
    EXPECT_EQ(query("TEXT"), std::tuple(5, Bytes{'1', '0', '0', '3', 0}, std::uint32_t{REG_SZ}));
    EXPECT_EQ(query("Empty"), std::tuple(0, Bytes{}, std::uint32_t{REG_BINARY}));
    EXPECT_EQ(QueryRegValue(*key, "Text", nullptr, nullptr), 5);
    EXPECT_EQ(QueryRegValue(*key, "Missing", &buffer, &type), -1);
    EXPECT_EQ(QueryRegValue(*key, nullptr, &buffer, &type), -1);

    // Writing another type under the same name replaces the type too.
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Text", 1003));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Text", 0u), 1003u);
    EXPECT_FALSE(ReadRegString(HKEY_LOCAL_MACHINE, kKey, "Text"));

    const std::string tricky = "say \"hi\"\\ C:\\dir\\\nline2\r\ttab \x01\x7f end\\";
    const std::string utf8 = "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xa5";
    Bytes big(64 * 1024);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7 + i / 256);

    ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, kKey, "Tricky", tricky.c_str()));
    ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, kKey, utf8.c_str(), utf8.c_str()));
    ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, kKey, nullptr, "default"));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Max", 0xFFFFFFFFu));
    ASSERT_TRUE(WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "NoBytes", nullptr, 0));
    ASSERT_TRUE(WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "Big", big.data(), big.size()));

    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kKey, "Tricky"), tricky);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kKey, utf8.c_str()), utf8);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kKey, ""), "default");
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Max", 0u), 0xFFFFFFFFu);
    EXPECT_EQ(ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "NoBytes"), Bytes{});
    EXPECT_EQ(ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "Big"), big);
    EXPECT_NE(test::ReadFileText(RegFile()).find(utf8), std::string::npos) << "UTF-8 stays readable in the file";
}

TEST_F(RegistryTest, BadArgumentsTouchNothingReadsGiveDefaultsAndDeletesKeepKeysWithSubKeys) {
    const HKEY otherRoot = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));
    for (HKEY root : {otherRoot, HKEY(nullptr)}) {
        EXPECT_FALSE(WriteRegDword(root, kKey, "A", 1));
        EXPECT_FALSE(WriteRegString(root, kKey, "A", "x"));
        EXPECT_FALSE(DeleteRegKey(root, kKey));
        EXPECT_EQ(ReadRegDword(root, kKey, "A", 9u), 9u);
    }
    EXPECT_FALSE(WriteRegDword(HKEY_LOCAL_MACHINE, nullptr, "A", 1));
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, nullptr, "A"), std::nullopt);
    EXPECT_FALSE(DeleteRegValue(HKEY_LOCAL_MACHINE, nullptr, "A"));
    EXPECT_FALSE(WriteRegString(HKEY_LOCAL_MACHINE, kKey, "A", nullptr));
    EXPECT_FALSE(WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "A", nullptr, 3));
    for (const char* path : {"", "\\SOFTWARE", "SOFTWARE\\", "SOFTWARE\\\\Lumora", "SOFT\nWARE"}) {
        EXPECT_FALSE(WriteRegDword(HKEY_LOCAL_MACHINE, path, "A", 1)) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(RegFile()));

    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "RememberLastSource", 7u), 7u);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, kKey, "LastSourceID"), std::nullopt);
    EXPECT_EQ(ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "LastDevFrameTime"), std::nullopt);
    EXPECT_FALSE(OpenRegKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "Nothing"));
    EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_FALSE(std::filesystem::exists(RegFile())) << "neither reads nor empty deletes create the file";

    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Keep", 1));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Drop", 2));
    EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "DROP"));
    EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "Drop"));
    EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere", "Drop"));
    EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere"));
    EXPECT_EQ(std::tuple(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Drop", 0u),
                         ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Keep", 0u)),
              std::tuple(0u, 1u));

    // A key that still has sub-keys stays.
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kPip, "Margin", 10));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kPip, "WindowSize", 30));
    EXPECT_FALSE(DeleteRegKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Keep", 0u), 1u);

    // Deleting the sub-key first lets the key go (and replacing a key whole is the effect
    // chain's save, EffectChainTest's remembered settings).
    EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, kPip));
    EXPECT_FALSE(OpenRegKey(HKEY_LOCAL_MACHINE, kPip));
    EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_EQ(ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "Keep"), std::nullopt);
    EXPECT_TRUE(OpenRegKey(HKEY_LOCAL_MACHINE, "SOFTWARE")) << "the parent stays";
}

}  // namespace
}  // namespace lumora
