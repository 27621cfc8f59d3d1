// Test fixture: points the settings store at a fresh folder for each test, so the registry
// helpers read and write a file of the test's own.
#pragma once

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace lumora::test {

class ConfigDirTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("LUMORA_CONFIG_DIR", dir_.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("LUMORA_CONFIG_DIR"); }

    std::string RegFile() const { return dir_.file("lumora.reg"); }

    // Names in the folder, sorted.
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir_;
};

}  // namespace lumora::test
