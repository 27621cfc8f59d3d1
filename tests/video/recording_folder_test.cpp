#include "test_environment.h"
#include "test_support.h"
#include "video/recording_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumora {
namespace {

using test::ScopedEnv;
using test::TempDir;

TEST(RecordingFolder, IsTheLumoraFolderOfTheVideosFolder) {
    TempDir dir;
    for (const std::string& videos : {dir.path().string(), dir.path().string() + "/"}) {
        ScopedEnv env("XDG_VIDEOS_DIR", videos.c_str());
        EXPECT_EQ(RecordingFolder(), dir.path().string() + "/Lumora/") << videos;
    }
    ScopedEnv none("XDG_VIDEOS_DIR", nullptr);
    const std::string fallback = RecordingFolder();
    EXPECT_EQ(fallback.substr(fallback.size() - 8), "/Lumora/");
}

TEST(RecordingFolder, TheNextNameIsTheFirstFreeOneAndTheFolderIsMadeWhenMissing) {
    TempDir dir;
    const std::string folder = dir.file("not/there/yet") + "/";
    EXPECT_EQ(NextRecordingFileName(folder), folder + "video000.avi");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    test::WriteFileText(folder + "video000.avi", "");
    test::WriteFileText(folder + "video001.avi", "");
    test::WriteFileText(folder + "video003.avi", "");
    EXPECT_EQ(NextRecordingFileName(folder), folder + "video002.avi");

    test::WriteFileText(dir.file("file"), "");
    EXPECT_EQ(NextRecordingFileName(dir.file("file") + "/"), "") << "a folder that cannot be made gives no name";
}

}  // namespace
}  // namespace lumora
