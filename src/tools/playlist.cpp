#include "tools/playlist.h"

#include "platform/ascii_text.h"
#include "platform/profile_file.h"

#include <cstdlib>
#include <system_error>

namespace lumora {
namespace {

constexpr char kSection[] = "playlist";
constexpr char kCountKey[] = "NumberOfEntries";

std::string EntryKey(int number) { return "File" + std::to_string(number); }

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
    const int count = profile->ReadInt(kSection, kCountKey, 0);
    for (int number = 1; number <= count; ++number) {
        AddFile(std::string(TrimBlanks(profile->ReadString(kSection, EntryKey(number), ""))));
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
