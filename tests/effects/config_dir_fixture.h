// Points the settings store at a fresh folder for each test, so the registry helpers
// read and write a file of the test's own.
#pragma once

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lumora::test {

class ConfigDirTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("LUMORA_CONFIG_DIR", config_.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("LUMORA_CONFIG_DIR"); }

    std::string SettingsFile() const { return config_.file("lumora.reg"); }

private:
    TempDir config_;
};

}  // namespace lumora::test
