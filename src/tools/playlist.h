// Playlist: the ordered video files the "Video file..." source plays, with a current entry
// and an optional random order, and the .pls files it reads and writes:
//
//   [playlist]
//   File1=/path/one.avi
//   File2=/path/two.mpg
//   NumberOfEntries=2
//
// Entries are held as full paths; duplicates are allowed. Reading a .pls file, which may
// come from another player, turns each entry into one:
//   /abs/path.avi              kept as it is
//   clips/b.avi, ../c.avi      relative to the folder of the .pls file
//   file:///abs/a%20b.avi      a file URI of this machine ("file:/...", "file://localhost/...")
//                              becomes its percent-decoded path
//   http://..., file://host/.. any other URI is kept as written
// Reading takes at most 255 characters of an entry, as the program always has. Saving
// writes the entries as they are held.
//
// A plain value type for one thread at a time (the user-interface thread in the program).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

class Playlist {
public:
    // The selected entry: `index` when valid, else entry 0; none (current -1) when empty.
    std::optional<std::string> Select(int index);
    std::optional<std::string> Current() const;
    int CurrentIndex() const { return current_; }

    // In order: the entry after the current one, wrapping to the first. In random order:
    // a different entry drawn with rand() (unseeded, so the order repeats from run to run).
    // With fewer than two entries: Select(0).
    std::optional<std::string> Next();

    // An empty path is ignored; the current entry does not change.
    void AddFile(const std::string& path);
    // A valid index is removed; the current index is left as it is.
    void Remove(int index);
    // Swaps two valid entries (the current index stays where it is); otherwise nothing.
    void Swap(int first, int second);
    void Clear();

    bool Random() const { return random_; }
    void SetRandom(bool random) { random_ = random; }
    int Count() const { return static_cast<int>(entries_.size()); }
    const std::vector<std::string>& Entries() const { return entries_; }

    // Whether `path` names a .pls file (any case, blanks around it ignored).
    static bool IsPlaylistFile(const std::string& path);

    // Appends the entries File1 ... File<NumberOfEntries> of a .pls file, in that order
    // (blank entries, entries holding a line break and missing keys skipped); the time taken follows the keys present,
    // whatever the count claims. False when there is no such file or it cannot be read.
    bool LoadPls(const std::filesystem::path& file);
    // Replaces the file with the entries. False when it cannot be written.
    bool SavePls(const std::filesystem::path& file) const;

private:
    std::vector<std::string> entries_;
    int current_ = -1;
    bool random_ = false;
};

}  // namespace lumora
