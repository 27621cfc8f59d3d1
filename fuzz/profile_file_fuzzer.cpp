// Profile files from elsewhere (skin.ini from the internet, .pls files of other players),
// edited by the program. The input is the file's text up to the first zero byte, then any
// number of (section, key, value) pieces to write into it (see FuzzInput). Whatever the
// bytes:
//   - reading keeps every byte: the text comes back as it was;
//   - every key of every section is found, and no value reads longer than 255 bytes;
//   - a value written reads back as itself, or, when longer than 255 bytes, as its start,
//     cut at most three bytes early so as not to split a UTF-8 sequence;
//   - after the writes, the text read afresh answers every lookup as the edited file does.
// Covers: profile_file.cpp profile_syntax.cpp

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "platform/profile_file.h"
#include "platform/profile_syntax.h"

#include <algorithm>
#include <set>

using lumora::ClassifyProfileLine;
using lumora::kMaxProfileValueLength;
using lumora::ProfileFile;
using lumora::ProfileLine;

namespace {

// The section names of the text's header lines.
std::set<std::string> SectionsOf(std::string_view text) {
    std::set<std::string> sections;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        const ProfileLine parsed = ClassifyProfileLine(line);
        if (parsed.kind == ProfileLine::Kind::kSection) sections.emplace(parsed.name);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return sections;
}

std::vector<std::string> SortedKeys(const ProfileFile& profile, const std::string& section) {
    std::vector<std::string> keys = profile.Keys(section);
    std::sort(keys.begin(), keys.end());
    return keys;
}

void CheckLookups(const ProfileFile& profile, const std::set<std::string>& sections) {
    for (const std::string& section : sections) {
        for (const std::string& key : profile.Keys(section)) {
            const std::optional<std::string> value = profile.Find(section, key);
            FUZZ_CHECK(value, "every listed key is found");
            FUZZ_CHECK(value->size() <= kMaxProfileValueLength, "no value reads longer than 255 bytes");
            profile.ReadInt(section, key, 0);
        }
    }
}

void CheckWrite(ProfileFile& profile, std::string_view section, std::string_view key, std::string_view value) {
    if (!profile.Set(section, key, value)) return;
    const std::optional<std::string> read = profile.Find(section, key);
    FUZZ_CHECK(read, "a written key is found");
    if (value.size() <= kMaxProfileValueLength) {
        FUZZ_CHECK(*read == value, "a written value reads back as itself");
    } else {
        FUZZ_CHECK(value.starts_with(*read), "a long value reads as its start");
        FUZZ_CHECK(read->size() + 3 >= kMaxProfileValueLength, "a long value is cut no more than three bytes early");
    }
}

// The edited file and the same text read afresh answer alike.
void CheckReread(const ProfileFile& profile, const std::set<std::string>& sections) {
    const ProfileFile reread(profile.Text());
    FUZZ_CHECK(reread.Text() == profile.Text(), "reading keeps every byte of an edited file");
    for (const std::string& section : sections) {
        const std::vector<std::string> keys = SortedKeys(profile, section);
        FUZZ_CHECK(keys == SortedKeys(reread, section), "the edited file lists the keys its text holds");
        for (const std::string& key : keys) {
            FUZZ_CHECK(profile.Find(section, key) == reread.Find(section, key),
                       "the edited file reads as its text does");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string_view text = input.TakeText();
    ProfileFile profile(text);
    FUZZ_CHECK(profile.Text() == text, "reading keeps every byte");
    CheckLookups(profile, SectionsOf(text));

    for (int writes = 0; !input.empty() && writes < 16; ++writes) {
        const std::string_view section = input.TakeText();
        const std::string_view key = input.TakeText();
        CheckWrite(profile, section, key, input.TakeText());
    }
    const std::set<std::string> sections = SectionsOf(profile.Text());
    CheckLookups(profile, sections);
    CheckReread(profile, sections);
    return 0;
}
