#include "tools/playlist.h"

#include "platform/ascii_text.h"
#include "platform/profile_file.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <utility>

namespace lumora {
namespace {

constexpr char kSection[] = "playlist";
constexpr char kCountKey[] = "NumberOfEntries";

constexpr std::string_view kFileScheme = "file:";

std::string EntryKey(int number) { return "File" + std::to_string(number); }

// The number of a key "file<N>" (as ProfileFile::Keys gives it) that the loop
// "File1" ... "File<count>" would read; nothing for any other key.
std::optional<int> EntryNumber(std::string_view key, int count) {
    constexpr std::string_view kPrefix = "file";
    if (!key.starts_with(kPrefix)) return std::nullopt;
    const std::string_view digits = key.substr(kPrefix.size());
    if (digits.empty() || digits.front() < '1' || digits.front() > '9') return std::nullopt;
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number > count) return std::nullopt;
    return number;
}

// The entry numbers present, ascending.
std::vector<int> EntryNumbers(const ProfileFile& profile, int count) {
    std::vector<int> numbers;
    for (const std::string& key : profile.Keys(kSection)) {
        if (const std::optional<int> number = EntryNumber(key, count)) numbers.push_back(*number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// "%XX" escapes decoded; a '%' not followed by two hex digits stays as it is. Nothing when
// the text decodes to a zero byte, which no path can hold, or to a line break, which no
// playlist file can.
std::optional<std::string> PercentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(text[i + 2]) : -1;
        if (low < 0) {
            out += text[i];
            continue;
        }
        const auto byte = static_cast<char>(high * 16 + low);
        if (byte == '\0' || byte == '\n' || byte == '\r') return std::nullopt;
        out += byte;
        i += 2;
    }
    return out;
}

// The local path of "file:/p", "file:///p" or "file://localhost/p"; nothing for a file
// URI of another host or one that is not a path.
std::optional<std::string> LocalPathOfFileUri(std::string_view uri) {
    std::string_view rest = uri.substr(kFileScheme.size());
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        const std::string_view host = rest.substr(0, slash);
        if (slash == std::string_view::npos || (!host.empty() && !EqualsIgnoringAsciiCase(host, "localhost"))) {
            return std::nullopt;
        }
        rest.remove_prefix(slash);
    }
    if (!rest.starts_with('/')) return std::nullopt;
    return PercentDecoded(rest);
}

// True for "scheme://...", the form of every URI a player writes into a playlist.
bool IsOtherUri(std::string_view entry) {
    const std::size_t colon = entry.find("://");
    if (colon == 0 || colon == std::string_view::npos) return false;
    const std::string_view scheme = entry.substr(0, colon);
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    return isLetter(scheme.front()) && std::all_of(scheme.begin(), scheme.end(), [&](char c) {
               return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
           });
}

// The full path an entry of a playlist in `folder` stands for.
std::string ResolveEntry(const std::string& entry, const std::filesystem::path& folder) {
    if (EqualsIgnoringAsciiCase(std::string_view(entry).substr(0, kFileScheme.size()), kFileScheme)) {
        return LocalPathOfFileUri(entry).value_or(entry);
    }
    if (entry.front() == '/' || IsOtherUri(entry)) return entry;
    return (folder / entry).string();
}

}  // namespace

std::optional<std::string> Playlist::Select(int index) {
    if (entries_.empty()) {
        current_ = -1;
        return std::nullopt;
    }
    current_ = index >= 0 && index < Count() ? index : 0;
    return entries_[static_cast<std::size_t>(current_)];
}

std::optional<std::string> Playlist::Current() const {
    if (current_ < 0 || current_ >= Count()) return std::nullopt;
    return entries_[static_cast<std::size_t>(current_)];
}

std::optional<std::string> Playlist::Next() {
    if (Count() < 2) return Select(0);
    if (!random_) return Select(current_ + 1);
    int drawn = current_;
    while (drawn == current_) drawn = std::rand() % Count();
    return Select(drawn);
}

void Playlist::AddFile(const std::string& path) {
    if (!path.empty()) entries_.push_back(path);
}

void Playlist::Remove(int index) {
    if (index >= 0 && index < Count()) entries_.erase(entries_.begin() + index);
}

void Playlist::Swap(int first, int second) {
    if (first < 0 || second < 0 || first >= Count() || second >= Count()) return;
    std::swap(entries_[static_cast<std::size_t>(first)], entries_[static_cast<std::size_t>(second)]);
}

void Playlist::Clear() {
    entries_.clear();
    Select(-1);
}

bool Playlist::IsPlaylistFile(const std::string& path) {
    const std::string name = FoldAsciiCase(TrimBlanks(path));
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".pls") == 0;
}

bool Playlist::LoadPls(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return false;
    const std::optional<ProfileFile> profile = ProfileFile::Load(file);
    if (!profile) return false;
    const std::filesystem::path folder = std::filesystem::absolute(file, error).parent_path();
    for (int number : EntryNumbers(*profile, profile->ReadInt(kSection, kCountKey, 0))) {
        const std::string entry(TrimBlanks(profile->ReadString(kSection, EntryKey(number), "")));
        // An entry with a line break in it (a stray carriage return) could not be saved again.
        if (!entry.empty() && !HasLineBreak(entry)) AddFile(ResolveEntry(entry, folder));
    }
    return true;
}

bool Playlist::SavePls(const std::filesystem::path& file) const {
    ProfileFile profile;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!profile.Set(kSection, EntryKey(static_cast<int>(i) + 1), entries_[i])) return false;
    }
    return profile.Set(kSection, kCountKey, std::to_string(entries_.size())) && profile.Save(file);
}

}  // namespace lumora
