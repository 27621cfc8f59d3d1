// Benchmarks of the settings store and of playlist files, on files as large as a user can
// make them:
// - Settings_Load: reading a settings file of 600,000 values whose cache entry is stale
//   (the file is touched before every read, outside the timing), beside reading the same
//   file's bytes and splitting them into lines. The target is under 2 s.
// - Settings_RepeatedRead: one value read from that unchanged file, beside a stat() of
//   it; a read that parsed the file again would take as long as a load.
// - Playlist_Load / Playlist_Save: a 100,000-entry .pls file, beside reading (or writing)
//   the same bytes. The load target is under 0.5 s.
#include "ratio_table.h"

#include "platform/atomic_file.h"
#include "platform/settings_store.h"
#include "tools/playlist.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

using lumora::bench::RatioTable;

constexpr int kSettingsValues = 600000;
constexpr int kPlaylistEntries = 100000;
constexpr const char* kKey = "SOFTWARE\\Lumora\\Bench";

// A folder for the benchmark files, removed when the process ends.
class BenchFolder {
public:
    BenchFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "lumora-bench-XXXXXX").string();
        if (::mkdtemp(name.data())) path_ = name;
    }
    ~BenchFolder() {
        std::error_code error;
        if (!path_.empty()) std::filesystem::remove_all(path_, error);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    std::filesystem::path File(const std::string& name) const { return path_ / name; }

    static BenchFolder& Shared() {
        static BenchFolder folder;
        return folder;
    }

private:
    std::filesystem::path path_;
};

// Texts, numbers and binaries in turn, as a hand-made or long-used file holds them.
std::string SettingsText(int values) {
    std::string text = "[SOFTWARE\\Lumora]\n\"RememberLastSource\"=dword:00000001\n\n[" + std::string(kKey) + "]\n";
    for (int i = 0; i < values; ++i) {
        const std::string name = "\"Value" + std::to_string(i) + "\"=";
        switch (i % 3) {
            case 0: text += name + "dword:" + std::to_string(10000000 + i) + "\n"; break;
            case 1: text += name + "\"/home/user/Videos/clip " + std::to_string(i) + ".avi\"\n"; break;
            default: text += name + "hex:01,02,03,04,05,06,07,08\n"; break;
        }
    }
    return text;
}

std::string PlaylistText(int entries) {
    std::string text = "[playlist]\n";
    for (int i = 1; i <= entries; ++i) {
        text += "File" + std::to_string(i) + "=/home/user/Videos/clip " + std::to_string(i) + ".avi\n";
    }
    return text + "NumberOfEntries=" + std::to_string(entries) + "\n";
}

std::filesystem::path MakeFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = BenchFolder::Shared().File(name);
    lumora::AtomicFile::Replace(path, text);
    return path;
}

const std::filesystem::path& SettingsFile() {
    static const std::filesystem::path file = MakeFile("lumora.reg", SettingsText(kSettingsValues));
    return file;
}

const std::filesystem::path& PlaylistFile() {
    static const std::filesystem::path file = MakeFile("list.pls", PlaylistText(kPlaylistEntries));
    return file;
}

// Gives the file a new modification time, so the next read finds the cache stale.
void Touch(const std::filesystem::path& file) { ::utimensat(AT_FDCWD, file.c_str(), nullptr, 0); }

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return lines;
}

void Register(const std::string& name, void (*body)(benchmark::State&)) {
    benchmark::RegisterBenchmark(name.c_str(), body)->Unit(benchmark::kMillisecond)->UseRealTime();
}

void ReadBytes(benchmark::State& state, const std::filesystem::path& file) {
    for (auto _ : state) {
        lumora::AtomicFile::ReadResult read = lumora::AtomicFile::Read(file);
        benchmark::DoNotOptimize(read.bytes.data());
    }
}

void SplitBytes(benchmark::State& state, const std::filesystem::path& file) {
    for (auto _ : state) {
        const lumora::AtomicFile::ReadResult read = lumora::AtomicFile::Read(file);
        std::vector<std::string_view> lines = SplitLines(read.bytes);
        benchmark::DoNotOptimize(lines.data());
    }
}

void SettingsLoad(benchmark::State& state) {
    const lumora::SettingsStore store(SettingsFile());
    for (auto _ : state) {
        state.PauseTiming();
        Touch(store.file());
        state.ResumeTiming();
        const auto document = store.Read();
        if (!document->FindKey(kKey)) state.SkipWithError("the settings file did not load");
        benchmark::DoNotOptimize(document.get());
    }
}

void SettingsRepeatedRead(benchmark::State& state) {
    const lumora::SettingsStore store(SettingsFile());
    store.Read();
    for (auto _ : state) {
        const auto value = store.ReadValue(kKey, "Value300001");
        if (!value) state.SkipWithError("the value is missing");
        benchmark::DoNotOptimize(value->data.data());
    }
}

void StatFile(benchmark::State& state) {
    struct stat info {};
    for (auto _ : state) benchmark::DoNotOptimize(::stat(SettingsFile().c_str(), &info));
}

void PlaylistLoad(benchmark::State& state) {
    for (auto _ : state) {
        lumora::Playlist playlist;
        playlist.LoadPls(PlaylistFile());
        if (playlist.Count() != kPlaylistEntries) state.SkipWithError("the playlist did not load");
    }
}

void PlaylistSave(benchmark::State& state) {
    lumora::Playlist playlist;
    playlist.LoadPls(PlaylistFile());
    const std::filesystem::path file = BenchFolder::Shared().File("saved.pls");
    for (auto _ : state) {
        if (!playlist.SavePls(file)) state.SkipWithError("the playlist was not saved");
    }
}

void ReplaceWithBytes(benchmark::State& state) {
    const lumora::AtomicFile::ReadResult read = lumora::AtomicFile::Read(PlaylistFile());
    const std::filesystem::path file = BenchFolder::Shared().File("copied.pls");
    for (auto _ : state) lumora::AtomicFile::Replace(file, read.bytes);
}

const bool registered = [] {
    const std::string settings = "/" + std::to_string(kSettingsValues);
    Register("Settings_Load/lumora" + settings, SettingsLoad);
    Register("Settings_Load/readBytes" + settings, [](benchmark::State& s) { ReadBytes(s, SettingsFile()); });
    Register("Settings_Load/lineSplit" + settings, [](benchmark::State& s) { SplitBytes(s, SettingsFile()); });
    benchmark::RegisterBenchmark(("Settings_RepeatedRead/lumora" + settings).c_str(), SettingsRepeatedRead)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("Settings_RepeatedRead/stat" + settings).c_str(), StatFile)
        ->Unit(benchmark::kMicrosecond);

    const std::string playlist = "/" + std::to_string(kPlaylistEntries);
    Register("Playlist_Load/lumora" + playlist, PlaylistLoad);
    Register("Playlist_Load/readBytes" + playlist, [](benchmark::State& s) { ReadBytes(s, PlaylistFile()); });
    Register("Playlist_Load/lineSplit" + playlist, [](benchmark::State& s) { SplitBytes(s, PlaylistFile()); });
    Register("Playlist_Save/lumora" + playlist, PlaylistSave);
    Register("Playlist_Save/replaceFile" + playlist, ReplaceWithBytes);

    // Marks a read that parses again, and loads far off their targets (2 s and 0.5 s are
    // about 90 and 400 line splits here).
    RatioTable::Shared().SetLimit("Settings_RepeatedRead", "stat", 3.0);
    RatioTable::Shared().SetLimit("Settings_Load", "lineSplit", 90.0);
    RatioTable::Shared().SetLimit("Playlist_Load", "lineSplit", 400.0);
    return true;
}();

}  // namespace
