#include "platform/reg_document.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

RegValue Dword(const std::string& name, std::uint8_t low) { return {name, REG_DWORD, {low, 0, 0, 0}}; }

std::vector<std::string> NamesOf(const RegKeyEntry& key) {
    std::vector<std::string> names;
    for (const RegValue& value : key.values) names.push_back(value.name);
    return names;
}

TEST(RegDocument, LookupsStayRightAsValuesAndKeysComeAndGo) {
    RegDocument document;
    for (const char* name : {"A", "B", "C", "D"}) document.SetValue("K\\One", Dword(name, 1));
    document.SetValue("K\\Two", Dword("X", 2));
    document.SetValue("K\\Three", Dword("Y", 3));

    EXPECT_TRUE(document.RemoveValue("k\\one", "b"));
    EXPECT_FALSE(document.RemoveValue("K\\One", "B"));
    document.SetValue("K\\One", Dword("c", 9));  // replaces C where it stands
    document.SetValue("K\\One", Dword("E", 5));
    EXPECT_EQ(NamesOf(*document.FindKey("K\\One")), (std::vector<std::string>{"A", "C", "D", "E"}));
    EXPECT_EQ(document.FindValue("K\\ONE", "C")->data[0], 9);
    EXPECT_EQ(document.FindValue("K\\One", "d")->name, "D");
    EXPECT_EQ(document.FindValue("K\\One", "E")->data[0], 5);
    EXPECT_FALSE(document.FindValue("K\\One", "B"));

    EXPECT_FALSE(document.RemoveKey("K")) << "it has sub-keys";
    EXPECT_TRUE(document.RemoveKey("K\\One"));
    EXPECT_FALSE(document.FindKey("K\\One"));
    EXPECT_FALSE(document.FindValue("K\\One", "A"));
    EXPECT_EQ(document.FindValue("k\\two", "x")->data[0], 2);
    EXPECT_EQ(document.FindValue("K\\Three", "Y")->data[0], 3);
    document.SetValue("K\\Three", Dword("Z", 4));
    EXPECT_EQ(NamesOf(*document.FindKey("K\\Three")), (std::vector<std::string>{"Y", "Z"}));

    document.SetValue("K\\One\\Deep", Dword("A", 6));
    ASSERT_EQ(document.keys().size(), 5u);
    EXPECT_EQ(document.keys()[3].path, "K\\One") << "a parent comes back before its child";
    EXPECT_EQ(document.keys()[4].path, "K\\One\\Deep");
    EXPECT_TRUE(document.HasSubKeys("k\\one"));
    EXPECT_FALSE(document.HasSubKeys("K\\On"));
}

}  // namespace
}  // namespace lumora
