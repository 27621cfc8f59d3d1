// A profile (INI) file in memory: skin.ini, .pls playlists.
//
// Reading follows the Windows profile functions (see profile_syntax.h): sections and keys
// are case-insensitive, the first occurrence of a section and of a key in it wins (keys
// of a repeated section are not seen), a missing key gives the caller's default. A UTF-8
// byte-order mark and CRLF line ends are understood.
//
// Writing (Set) edits the text in place: it replaces the line of the key's first
// occurrence, or adds the key after the last key of the section, or adds the section at
// the end. Every other byte of the file, comments and line ends included, stays as it
// was. New lines use the file's own line end (LF for a new file). Save replaces the file
// atomically (AtomicFile).
//
// A plain value type: the file is read once by Load and answers any number of lookups
// from memory; it does not see later changes to the file. Loading and a lookup take time
// in proportion to the text and to the name looked up; so does a Set, except that adding
// a key to the last section (as writing a whole file in order does) takes the time of the
// new line alone. Const functions may run on
// several threads at once; Set needs the object to itself. The free functions below
// load the file on every call and, like their Windows models, do not lock: two writers
// of one file at the same moment can lose one write.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumora {

class ProfileFile {
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string_view text);

    // A missing file loads as an empty one; nothing when the file exists but cannot be read.
    static std::optional<ProfileFile> Load(const std::filesystem::path& file);

    // The value as read (quotes off, at most 255 bytes), or nothing when the key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // ParseProfileInt of the value; `defaultValue` when the key is missing or its value empty.
    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
    // The keys of a section, as Find matches them (ASCII letters in lower case), in no
    // particular order; none when the section is missing.
    std::vector<std::string> Keys(std::string_view section) const;

    // False, changing nothing, when the section, key or value cannot be written faithfully:
    // see IsWritableProfileSection/Key/Value.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;
    bool Save(const std::filesystem::path& file) const;

private:
    struct Line {
        std::string text;    // without the line end
        std::string ending;  // "\n", "\r\n", "\r" or "" (a last line ending in a carriage return or without one)
    };
    struct Entry {
        std::size_t line = 0;
        std::string value;  // as read
    };
    struct Section {
        std::size_t lastLine = 0;  // the header or the section's last key
        std::unordered_map<std::string, Entry> entries;  // by folded key
    };

    std::string_view LineContent(std::size_t index) const;
    void BuildIndex();
    void ReplaceEntry(const Entry& entry, std::string_view encodedValue);
    void InsertEntry(Section& section, std::string_view key, std::string_view encodedValue);
    void InsertLine(std::size_t before, std::string text);
    void AppendSection(std::string_view section, std::string line);

    std::vector<Line> lines_;
    std::string newline_ = "\n";
    std::unordered_map<std::string, Section> sections_;  // by folded name
};

// One-call forms of the Windows private profile functions.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue);
int ReadProfileInt(const std::filesystem::path& file, std::string_view section,
                   std::string_view key, int defaultValue);
// Creates the file (not its folder) and the section when needed. False when the value
// cannot be written (see ProfileFile::Set) or the file cannot be read or replaced.
bool WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace lumora
