#include "platform/reg_file_format.h"

#include <gtest/gtest.h>

#include <tuple>

namespace lumora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(std::string_view text) {
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

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
    document.SetValue("k\\ONE", Dword("E", 5));
    EXPECT_EQ(NamesOf(*document.FindKey("K\\One")), (std::vector<std::string>{"A", "C", "D", "E"}));
    EXPECT_EQ(document.FindKey("k\\one")->path, "K\\One") << "the first spelling stays";
    EXPECT_EQ(std::tuple(document.FindValue("K\\ONE", "C")->data[0], document.FindValue("K\\One", "d")->name,
                         document.FindValue("K\\One", "E")->data[0]),
              std::tuple(9, "D", 5));
    EXPECT_FALSE(document.FindValue("K\\One", "B"));

    EXPECT_FALSE(document.RemoveKey("K")) << "it has sub-keys";
    EXPECT_TRUE(document.RemoveKey("K\\One"));
    EXPECT_FALSE(document.FindKey("K\\One"));
    EXPECT_FALSE(document.FindValue("K\\One", "A"));
    EXPECT_EQ(std::tuple(document.FindValue("k\\two", "x")->data[0], document.FindValue("K\\Three", "Y")->data[0]),
              std::tuple(2, 3));
    document.SetValue("K\\Three", Dword("Z", 4));
    EXPECT_EQ(NamesOf(*document.FindKey("K\\Three")), (std::vector<std::string>{"Y", "Z"}));

    document.SetValue("K\\One\\Deep", Dword("A", 6));
    ASSERT_EQ(document.keys().size(), 5u);
    EXPECT_EQ(std::tuple(document.keys()[3].path, document.keys()[4].path), std::tuple("K\\One", "K\\One\\Deep"))
        << "a parent comes back before its child";
    EXPECT_TRUE(document.HasSubKeys("k\\one") && !document.HasSubKeys("K\\On"));
}

TEST(RegFileFormat, WritesTheDocumentedLayoutReadsEveryHandWrittenFormAndOddValuesStillRoundTrip) {
    RegDocument document;
    Bytes counting(26);
    for (std::size_t i = 0; i < counting.size(); ++i) counting[i] = static_cast<std::uint8_t>(i);
    document.SetValue("SOFTWARE\\Lumora", {"Text", REG_SZ, Text("a \"q\" \\ \n\x01\xc3\xa9")});
    document.SetValue("SOFTWARE\\Lumora", {"", REG_SZ, Text("def")});
    document.SetValue("SOFTWARE\\Lumora", {"N", REG_DWORD, {0x0a, 0, 0, 0}});
    document.SetValue("SOFTWARE\\Lumora", {"E", REG_EXPAND_SZ, Text("$")});
    document.SetValue("SOFTWARE\\Lumora", {"Z", REG_BINARY, {}});
    document.SetValue("SOFTWARE\\Lumora", {"Long", REG_BINARY, counting});

    EXPECT_EQ(RegFileFormat::Serialize(document),
              "Lumora Registry Version 1\n\n[SOFTWARE]\n\n[SOFTWARE\\Lumora]\n"
              "\"Text\"=\"a \\\"q\\\" \\\\ \\n\\x01\xc3\xa9\"\n"
              "@=\"def\"\n\"N\"=dword:0000000a\n\"E\"=hex(2):24,00\n\"Z\"=hex:\n"
              "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,"
              "13,14,15,16,17,18,\\\n"
              "  19\n");

    // Every way of writing the same settings by hand reads the same, and nothing else reads.
    const std::vector<std::string> forms = {
        // As we write it, then saved by a Windows editor.
        "\xEF\xBB\xBFLumora Registry Version 1\r\n\r\n[SOFTWARE\\Lumora]\r\n\"RememberLastSource\"=dword:00000001\r\n"
        "\"LastSourceID\"=\"/dev/video0\"",
        // Comments before the header, values the other way round, loose spelling.
        "; my settings\n\n  Lumora Registry Version 1\n[SOFTWARE\\Lumora]\n\n\"LastSourceID\" = \"/dev/video0\"\n"
        "\t\"RememberLastSource\"=DWORD: 1\n",
        // A value changed further down, in the key given twice; a value over two lines.
        "[SOFTWARE\\Lumora]\n\"RememberLastSource\"=dword:0\n[SOFTWARE]\n[software\\lumora]\n"
        "\"LastSourceID\"=hex:2F,64,65,76,2f,76,69,64,\\\r\n   65,6f,30,00\n\"rememberlastsource\"=dword:1\n",
    };
    for (const std::string& text : forms) {
        const auto read = RegFileFormat::Parse(text);
        ASSERT_TRUE(read) << text;
        const RegValue* remember = read->FindValue("SOFTWARE\\Lumora", "RememberLastSource");
        const RegValue* source = read->FindValue("SOFTWARE\\Lumora", "LastSourceID");
        ASSERT_TRUE(remember && source) << text;
        EXPECT_EQ(std::tuple(remember->type, remember->data, source->data),
                  std::tuple(std::uint32_t{REG_DWORD}, Bytes{1, 0, 0, 0}, Text("/dev/video0")))
            << text;
        EXPECT_EQ(read->FindKey("SOFTWARE\\Lumora")->values.size(), 2u) << text;
        EXPECT_TRUE(read->HasSubKeys("SOFTWARE")) << "parents of a key exist";
    }
    EXPECT_EQ(RegFileFormat::Parse("[K]\n\"A\"=dword:A\n\"C\"=\"C:\\\\dir\"")->FindValue("K", "C")->data,
              Text("C:\\dir"));
    EXPECT_TRUE(RegFileFormat::Parse("") && RegFileFormat::Parse("")->keys().empty());

    // Anything it cannot read fully is rejected.
    const std::string head = "Lumora Registry Version 1\n[K]\n";
    const std::vector<std::string> damaged = {"Windows Registry Editor Version 5.00\n[K]\n",
                                              "[K]\nLumora Registry Version 1\n",  // the header after a section
                                              "Lumora Registry Version 1\n\"A\"=dword:1\n",  // value before any section
                                              head + "\"A\"=hex:01,\\\n",  // continuation at the end of the file
                                              head + "\"A\"=\"unterminated\n",
                                              head + "\"A\"=\"bad \\q escape\"\n",
                                              head + "\"A\"=\"x\" trailing\n",
                                              head + "\"A\"=dword:123456789\n",
                                              head + "\"A\"=qword:1\n",
                                              head + "\"A\"=hex:1g\n",
                                              head + "A=dword:1\n",
                                              "Lumora Registry Version 1\n[]\n",
                                              "Lumora Registry Version 1\n[A\\\\B]\n"};
    for (const std::string& text : damaged) EXPECT_FALSE(RegFileFormat::Parse(text)) << text;

    // Values no writer of ours makes, but a hand-edited file may hold.
    const std::vector<RegValue> odd = {{"no final zero", REG_SZ, {'a', 'b'}},
                                       {"inner zero", REG_SZ, {'a', 0, 'b', 0}},
                                       {"empty text", REG_SZ, {}},
                                       {"short dword", REG_DWORD, {1, 2, 3}},
                                       {"custom type", 0x1234, {0xde, 0xad}},
                                       {"none", REG_NONE, {}},
                                       {"@", REG_SZ, Text("not the default value")},
                                       {"\t\"\\\x1f\x7f", REG_SZ, Text("\x7f")}};
    RegDocument oddDocument;
    for (const RegValue& value : odd) oddDocument.SetValue("K", value);
    const auto parsed = RegFileFormat::Parse(RegFileFormat::Serialize(oddDocument));
    const RegKeyEntry* key = parsed ? parsed->FindKey("K") : nullptr;
    ASSERT_TRUE(key);
    ASSERT_EQ(key->values.size(), odd.size());
    for (std::size_t i = 0; i < odd.size(); ++i) {
        EXPECT_EQ(std::tie(key->values[i].name, key->values[i].type, key->values[i].data),
                  std::tie(odd[i].name, odd[i].type, odd[i].data))
            << odd[i].name;
    }
    EXPECT_FALSE(RegDocument::FindValue(*key, "")) << "\"@\" is not the default value";
}

}  // namespace
}  // namespace lumora
