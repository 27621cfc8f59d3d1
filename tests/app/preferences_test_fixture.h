// Preference tests: a fresh settings folder for every test, and direct access to the
// stored values as they lie in the store.
#pragma once

#include "app/preferences.h"
#include "config_dir_fixture.h"

#include <lumora/registry.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace lumora::test {

class PreferencesTest : public ConfigDirTest {
protected:
    static void SetDword(const char* name, std::uint32_t value) {
        ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, name, value));
    }
    static void SetString(const char* name, const char* text) {
        ASSERT_TRUE(WriteRegString(HKEY_LOCAL_MACHINE, kLumoraKey, name, text));
    }
    static void SetBinary(const char* name, const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(WriteRegBinary(HKEY_LOCAL_MACHINE, kLumoraKey, name, bytes.data(), bytes.size()));
    }

    // The stored value with its type, or nothing.
    static std::optional<RegValue> Stored(const char* name) {
        const auto key = OpenRegKey(HKEY_LOCAL_MACHINE, kLumoraKey);
        if (!key) return std::nullopt;
        RegValue value{name, REG_NONE, {}};
        if (QueryRegValue(*key, name, &value.data, &value.type) < 0) return std::nullopt;
        return value;
    }

    // Whether any of the seven remembered device format values is stored.
    static bool AnyDeviceFormatValue() {
        for (const char* name : {reg::kLastDevWidth, reg::kLastDevHeight, reg::kLastDevBitCount,
                                 reg::kLastDevPlanes, reg::kLastDevCompression,
                                 reg::kLastDevFrameTime, reg::kLastDevMediaSubType}) {
            if (Stored(name)) return true;
        }
        return false;
    }
};

}  // namespace lumora::test
