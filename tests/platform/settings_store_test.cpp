#include "config_dir_fixture.h"
#include "scoped_env.h"

#include "platform/reg_file_format.h"
#include "platform/settings_store.h"

#include <lumora/registry.h>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <optional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
    xdg.Set(nullptr);
    EXPECT_EQ(SettingsStore::DefaultFile(), "/home/u/.config/lumora/lumora.reg");
    config.Set("/c");
    EXPECT_EQ(SettingsStore::DefaultFile(), "/c/lumora.reg");
}

class SettingsStoreTest : public test::ConfigDirTest {};

TEST_F(SettingsStoreTest, FirstWriteCreatesTheFolder) {
    const std::string folder = dir_.file("a/b");
    ::setenv("LUMORA_CONFIG_DIR", folder.c_str(), 1);
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 3u), 3u);
    EXPECT_FALSE(std::filesystem::exists(folder)) << "reads create nothing";
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 4));
    const std::string text = test::ReadFileText(folder + "/lumora.reg");
    EXPECT_TRUE(text.starts_with("Lumora Registry Version 1\n")) << text;
}

TEST_F(SettingsStoreTest, DamagedOrUnreadableFilesAreSetAsideAndNeverOverwritten) {
    const std::string damaged = "Lumora Registry Version 1\n[K]\n\"Old\"=dword:zz\n";
    test::WriteFileText(RegFile(), damaged);
    test::WriteFileText(RegFile() + ".bad", "older");
    test::WriteFileText(RegFile() + ".bad.1", "older still");

    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, "K", "Old", 5u), 5u);
    EXPECT_EQ(test::ReadFileText(RegFile() + ".bad.2"), damaged);
    EXPECT_EQ(test::ReadFileText(RegFile() + ".bad"), "older");
    EXPECT_EQ(test::ReadFileText(RegFile() + ".bad.1"), "older still");
    EXPECT_FALSE(std::filesystem::exists(RegFile()));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "New", 1));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "New", 0u), 1u);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"lumora.reg", "lumora.reg.bad", "lumora.reg.bad.1",
                                                         "lumora.reg.bad.2", "lumora.reg.lock"}));

    // A write over a damaged file sets it aside too, and starts a fresh one.
    test::WriteFileText(RegFile(), "\x01\x02 not settings at all");
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Other", 1));
    EXPECT_EQ(test::ReadFileText(RegFile() + ".bad.3"), "\x01\x02 not settings at all");
    EXPECT_EQ(OpenRegKey(HKEY_LOCAL_MACHINE, kKey).value().values().size(), 1u);

    std::filesystem::remove(RegFile());
    std::filesystem::create_directory(RegFile());  // reading it fails, whoever we run as
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 3u), 3u);
    EXPECT_TRUE(std::filesystem::is_directory(RegFile() + ".bad.4"));
    EXPECT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 4));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "A", 3u), 4u);
}

TEST_F(SettingsStoreTest, ReadersNeverSeeAHalfWrittenFile) {
    std::atomic<bool> done{false};
    std::thread writer([&] {
        std::vector<std::uint8_t> pad(8192);
        for (std::uint32_t i = 1; i <= 150; ++i) {
            pad.assign(pad.size(), static_cast<std::uint8_t>(i));
            EXPECT_TRUE(WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "Pad", pad.data(), pad.size()));
            const std::string name = "V" + std::to_string(i);
            EXPECT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, name.c_str(), i));
        }
        done = true;
    });
    std::size_t lastCount = 0;
    int reads = 0;
    bool torn = false;
    while (!done && !torn) {
        const std::string text = test::ReadFileText(RegFile());
        if (text.empty()) continue;
        const auto document = RegFileFormat::Parse(text);
        const std::size_t count = document ? document->FindKey(kKey)->values.size() : 0;
        torn = !document || count < lastCount;
        lastCount = count;
        ++reads;
    }
    writer.join();
    EXPECT_FALSE(torn) << "torn or stale file after " << reads << " reads";
    EXPECT_GT(reads, 0);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"lumora.reg", "lumora.reg.lock"}))
        << "no temporary or set-aside file remains";
}

TEST_F(SettingsStoreTest, AKilledWriterLeavesTheOldOrTheNewFile) {
    for (int round = 0; round < 6; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::vector<std::uint8_t> pad(32768);
            for (std::uint32_t i = 0;; ++i) {
                pad.assign(pad.size(), static_cast<std::uint8_t>(i));
                WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "Pad", pad.data(), pad.size());
            }
        }
        ::usleep(static_cast<useconds_t>(4000 + round * 3000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const auto pad = ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "Pad");
        if (!pad) continue;  // killed before the first write finished
        ASSERT_EQ(pad->size(), 32768u);
        EXPECT_EQ(std::count(pad->begin(), pad->end(), pad->front()), 32768) << round;
    }
    EXPECT_FALSE(std::filesystem::exists(RegFile() + ".bad"));
    EXPECT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "After", 1))
        << "the lock is released when its holder dies";
}

TEST_F(SettingsStoreTest, ConcurrentProcessesAndThreadsLoseNoValue) {
    constexpr int kProcesses = 3;
    constexpr int kThreads = 2;
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
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    const auto key = OpenRegKey(HKEY_LOCAL_MACHINE, kKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->values().size(), (kProcesses + kThreads) * kEach);
    for (const std::string prefix : {"P0_", "P2_", "T1_"}) {
        EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, (prefix + "39").c_str(), 0u), 39u);
    }
}

}  // namespace
}  // namespace lumora
