#include "test_support.h"
#include "video/recording_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace lumora {
namespace {

using test::TempDir;

TEST(RecordingFolder, IsTheLumoraFolderOfTheVideosFolder) {
    TempDir dir;
    ::setenv("XDG_VIDEOS_DIR", dir.path().c_str(), 1);
    EXPECT_EQ(RecordingFolder(), dir.path().string() + "/Lumora/");
    ::setenv("XDG_VIDEOS_DIR", (dir.path().string() + "/").c_str(), 1);
    EXPECT_EQ(RecordingFolder(), dir.path().string() + "/Lumora/");
    ::unsetenv("XDG_VIDEOS_DIR");
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
}

TEST(RecordingFolder, WhenAllThousandNamesAreTakenThereIsNone) {
    TempDir dir;
    const std::string folder = dir.path().string() + "/";
    for (int n = 0; n < 1000; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "video%03d.avi", n);
        test::WriteFileText(folder + name, "");
    }
    EXPECT_EQ(NextRecordingFileName(folder), "");
    std::filesystem::remove(folder + "video999.avi");
    EXPECT_EQ(NextRecordingFileName(folder), folder + "video999.avi");
}

TEST(RecordingFolder, AFolderThatCannotBeMadeGivesNoName) {
    TempDir dir;
    test::WriteFileText(dir.file("file"), "");
    EXPECT_EQ(NextRecordingFileName(dir.file("file") + "/"), "");
}

}  // namespace
}  // namespace lumora
