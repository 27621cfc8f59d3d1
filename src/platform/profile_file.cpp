#include "platform/profile_file.h"

#include "platform/ascii_text.h"
#include "platform/atomic_file.h"
#include "platform/profile_syntax.h"

namespace lumora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string NewlineOf(std::string_view text) {
    const std::size_t end = text.find('\n');
    return (end != std::string_view::npos && end > 0 && text[end - 1] == '\r') ? "\r\n" : "\n";
}

}  // namespace

ProfileFile::ProfileFile(std::string_view text) : newline_(NewlineOf(text)) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        Line line{std::string(text.substr(0, end)), end == std::string_view::npos ? "" : "\n"};
        // A carriage return ending the text starts a line end: a line added below completes it.
        if (line.text.ends_with('\r')) {
            line.text.pop_back();
            line.ending = line.ending.empty() ? "\r" : "\r\n";
        }
        lines_.push_back(std::move(line));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    BuildIndex();
}

std::optional<ProfileFile> ProfileFile::Load(const std::filesystem::path& file) {
    AtomicFile::ReadResult read = AtomicFile::Read(file);
    switch (read.status) {
        case AtomicFile::ReadStatus::kOk: return ProfileFile(read.bytes);
        case AtomicFile::ReadStatus::kMissing: return ProfileFile();
        case AtomicFile::ReadStatus::kBusy:
        case AtomicFile::ReadStatus::kUnreadable: break;
    }
    return std::nullopt;
}

std::string_view ProfileFile::LineContent(std::size_t index) const {
    std::string_view text = lines_[index].text;
    if (index == 0 && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    return text;
}

void ProfileFile::BuildIndex() {
    sections_.clear();
    Section* current = nullptr;  // null inside a repeated section: its keys are not seen
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ProfileLine line = ClassifyProfileLine(LineContent(i));
        if (line.kind == ProfileLine::Kind::kSection) {
            auto [it, isFirst] = sections_.try_emplace(FoldAsciiCase(line.name), Section{i, {}});
            current = isFirst ? &it->second : nullptr;
        } else if (line.kind == ProfileLine::Kind::kEntry && current) {
            current->entries.try_emplace(FoldAsciiCase(line.name),
                                         Entry{i, ProfileValueAsRead(line.value)});
            current->lastLine = i;
        }
    }
}

std::optional<std::string> ProfileFile::Find(std::string_view section,
                                             std::string_view key) const {
    const auto s = sections_.find(FoldAsciiCase(TrimBlanks(section)));
    if (s == sections_.end()) return std::nullopt;
    const auto e = s->second.entries.find(FoldAsciiCase(TrimBlanks(key)));
    if (e == s->second.entries.end()) return std::nullopt;
    return e->second.value;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    return Find(section, key).value_or(std::string(defaultValue));
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    const std::optional<std::string> value = Find(section, key);
    return (value && !value->empty()) ? ParseProfileInt(*value) : defaultValue;
}

std::vector<std::string> ProfileFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const auto s = sections_.find(FoldAsciiCase(TrimBlanks(section)));
    if (s == sections_.end()) return keys;
    keys.reserve(s->second.entries.size());
    for (const auto& entry : s->second.entries) keys.push_back(entry.first);
    return keys;
}

bool ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsWritableProfileSection(section) || !IsWritableProfileKey(key) ||
        !IsWritableProfileValue(value)) {
        return false;
    }
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    const std::string encoded = EncodeProfileValue(value);
    const auto s = sections_.find(FoldAsciiCase(section));
    if (s == sections_.end()) {
        AppendSection(section, std::string(key) + "=" + encoded);
        BuildIndex();
    } else if (const auto e = s->second.entries.find(FoldAsciiCase(key));
               e != s->second.entries.end()) {
        ReplaceEntry(e->second, encoded);
        e->second.value = ProfileValueAsRead(encoded);
    } else {
        InsertEntry(s->second, key, encoded);
    }
    return true;
}

// After the last line the index only gains the new entry; anywhere else the lines below
// move down and the index is built again.
void ProfileFile::InsertEntry(Section& section, std::string_view key, std::string_view encodedValue) {
    const std::size_t at = section.lastLine + 1;
    InsertLine(at, std::string(key) + "=" + std::string(encodedValue));
    if (at + 1 != lines_.size()) {
        BuildIndex();
        return;
    }
    section.entries.try_emplace(FoldAsciiCase(key), Entry{at, ProfileValueAsRead(encodedValue)});
    section.lastLine = at;
}

// Keeps the key as the file spells it, and the line's indentation and line end.
void ProfileFile::ReplaceEntry(const Entry& entry, std::string_view encodedValue) {
    std::string& text = lines_[entry.line].text;
    const std::size_t equals = text.find('=');
    text = text.substr(0, text.find_last_not_of(" \t", equals - 1) + 1) + "=" +
           std::string(encodedValue);
}

void ProfileFile::InsertLine(std::size_t before, std::string text) {
    if (before > 0 && lines_[before - 1].ending.empty()) lines_[before - 1].ending = newline_;
    if (before > 0 && lines_[before - 1].ending == "\r") lines_[before - 1].ending = "\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(before),
                  Line{std::move(text), newline_});
}

void ProfileFile::AppendSection(std::string_view section, std::string line) {
    if (!lines_.empty() && !TrimBlanks(LineContent(lines_.size() - 1)).empty()) {
        InsertLine(lines_.size(), "");
    }
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), std::move(line));
}

std::string ProfileFile::Text() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

bool ProfileFile::Save(const std::filesystem::path& file) const {
    return AtomicFile::Replace(file, Text());
}

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    return ProfileFile::Load(file).value_or(ProfileFile()).ReadString(section, key, defaultValue);
}

int ReadProfileInt(const std::filesystem::path& file, std::string_view section,
                   std::string_view key, int defaultValue) {
    return ProfileFile::Load(file).value_or(ProfileFile()).ReadInt(section, key, defaultValue);
}

bool WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value) {
    std::optional<ProfileFile> profile = ProfileFile::Load(file);
    return profile && profile->Set(section, key, value) && profile->Save(file);
}

}  // namespace lumora
