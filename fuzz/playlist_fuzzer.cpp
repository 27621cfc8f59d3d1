// Playlists from other players. Whatever the bytes of the .pls file:
//   - loading succeeds, keeps no empty entry and no more entries than the file has keys;
//   - the loaded playlist can be saved, and the saved file loads as the same entries
//     (for entries within the 255 bytes a playlist value can hold, without blanks at
//     either end, which reading trims).
// Covers: playlist.cpp profile_file.cpp profile_syntax.cpp

#include "fuzz_check.h"
#include "platform/ascii_text.h"
#include "tools/playlist.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using lumora::Playlist;

namespace {

// A folder of its own for the files of one run, removed at exit.
const std::filesystem::path& WorkFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            std::string pattern = (std::filesystem::temp_directory_path() / "lumora-fuzz-playlist-XXXXXX").string();
            FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr, "a work folder can be made");
            path = pattern;
        }
        ~Folder() {
            std::error_code error;
            std::filesystem::remove_all(path, error);
        }
    };
    static const Folder folder;
    return folder.path;
}

void Write(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good(), "the input file can be written");
}

bool SurvivesSaving(const std::string& entry) {
    return entry.size() <= 255 && lumora::TrimBlanks(entry).size() == entry.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path input = WorkFolder() / "input.pls";
    const std::filesystem::path saved = WorkFolder() / "saved.pls";
    Write(input, data, size);

    Playlist loaded;
    FUZZ_CHECK(loaded.LoadPls(input), "any readable file loads");
    const auto lines = static_cast<int>(std::count(data, data + size, '\n')) + 1;
    FUZZ_CHECK(loaded.Count() <= lines, "no more entries than the file has lines");
    for (const std::string& entry : loaded.Entries()) FUZZ_CHECK(!entry.empty(), "no entry is empty");

    FUZZ_CHECK(loaded.SavePls(saved), "a loaded playlist can be saved");
    Playlist reloaded;
    FUZZ_CHECK(reloaded.LoadPls(saved), "a saved playlist loads");
    if (std::all_of(loaded.Entries().begin(), loaded.Entries().end(), SurvivesSaving)) {
        FUZZ_CHECK(reloaded.Entries() == loaded.Entries(), "a saved playlist loads as the same entries");
    }
    return 0;
}
