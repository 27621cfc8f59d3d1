#include "config_dir_fixture.h"

#include <lumora/registry.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace lumora {
namespace {

constexpr const char* kKey = "SOFTWARE\\Lumora";
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
    EXPECT_TRUE(QueryRegValue(*key, "Missing", &buffer, &type) == -1 &&
                QueryRegValue(*key, nullptr, &buffer, &type) == -1);

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
        EXPECT_FALSE(WriteRegDword(root, kKey, "A", 1) || WriteRegString(root, kKey, "A", "x") ||
                     DeleteRegKey(root, kKey));
        EXPECT_EQ(ReadRegDword(root, kKey, "A", 9u), 9u);
    }
    EXPECT_FALSE(WriteRegDword(HKEY_LOCAL_MACHINE, nullptr, "A", 1) ||
                 ReadRegString(HKEY_LOCAL_MACHINE, nullptr, "A") || DeleteRegValue(HKEY_LOCAL_MACHINE, nullptr, "A") ||
                 WriteRegString(HKEY_LOCAL_MACHINE, kKey, "A", nullptr) ||
                 WriteRegBinary(HKEY_LOCAL_MACHINE, kKey, "A", nullptr, 3));
    for (const char* path : {"", "\\SOFTWARE", "SOFTWARE\\", "SOFTWARE\\\\Lumora", "SOFT\nWARE"}) {
        EXPECT_FALSE(WriteRegDword(HKEY_LOCAL_MACHINE, path, "A", 1)) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(RegFile()));

    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "RememberLastSource", 7u), 7u);
    EXPECT_FALSE(ReadRegString(HKEY_LOCAL_MACHINE, kKey, "LastSourceID") ||
                 ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "LastDevFrameTime") || OpenRegKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "Nothing") && DeleteRegKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_FALSE(std::filesystem::exists(RegFile())) << "neither reads nor empty deletes create the file";

    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Keep", 1));
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kKey, "Drop", 2));
    EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "DROP") && DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "Drop"));
    EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere", "Drop") &&
                DeleteRegKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere"));
    EXPECT_EQ(std::tuple(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Drop", 0u),
                         ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Keep", 0u)),
              std::tuple(0u, 1u));

    // A key that still has sub-keys stays.
    ASSERT_TRUE(WriteRegDword(HKEY_LOCAL_MACHINE, kPip, "Margin", 10) &&
                WriteRegDword(HKEY_LOCAL_MACHINE, kPip, "WindowSize", 30));
    EXPECT_FALSE(DeleteRegKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_EQ(ReadRegDword(HKEY_LOCAL_MACHINE, kKey, "Keep", 0u), 1u);

    // Deleting the sub-key first lets the key go (and replacing a key whole is the effect
    // chain's save, EffectChainTest's remembered settings).
    EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, kPip) && !OpenRegKey(HKEY_LOCAL_MACHINE, kPip));
    EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, kKey) && !ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, "Keep"));
    EXPECT_TRUE(OpenRegKey(HKEY_LOCAL_MACHINE, "SOFTWARE")) << "the parent stays";
}

}  // namespace
}  // namespace lumora
