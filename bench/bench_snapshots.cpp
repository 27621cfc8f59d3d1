// Benchmarks of the snapshot manager's work on 1280x720 frames.
//
//   Snapshot_Take     what the user-interface thread spends on one snapshot: the copy of the
//                     frame the main window hands over (allocation and copy of the frame
//                     store's pixels) and the thumbnail. The reference is a busy wait of 5 ms,
//                     the budget, so the ratio must stay below 1.
//   Snapshot_SaveAll  100 snapshots written as JPEG files into an empty folder, against
//                     cv::imwrite of the same 100 frames at the same quality (90); at most 1.5.
#include "ratio_table.h"

#include "tools/snapshot_album.h"

#include <lumora/zimage.h>

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using lumora::bench::RatioTable;

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kSnapshots = 100;
const std::string kSize = "1280x720";

// A camera-like picture: smooth gradients with a little noise, different for each seed.
std::vector<std::uint8_t> CameraFrame(int seed) {
    const std::size_t stride = ZImage_CalcWidthBytes(kWidth, 24);
    std::vector<std::uint8_t> frame(ZImage_CalcImageSize(kWidth, kHeight, 24));
    std::uint32_t state = 12345u + static_cast<std::uint32_t>(seed);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = frame.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < kWidth; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = static_cast<int>(state >> 29);
            row[3 * x] = static_cast<std::uint8_t>((x / 5 + seed) & 0xFF);
            row[3 * x + 1] = static_cast<std::uint8_t>((y / 3 + noise) & 0xFF);
            row[3 * x + 2] = static_cast<std::uint8_t>(((x + y) / 8) & 0xFF);
        }
    }
    return frame;
}

lumora::FrameCopy CopyOf(const std::vector<std::uint8_t>& frame) {
    lumora::FrameCopy copy;
    copy.size = static_cast<std::uint32_t>(frame.size());
    copy.width = kWidth;
    copy.height = kHeight;
    copy.pixels = std::make_unique<unsigned char[]>(frame.size());
    std::memcpy(copy.pixels.get(), frame.data(), frame.size());
    return copy;
}

class Folder {
public:
    Folder()
            : path_(std::filesystem::temp_directory_path() / ("lumora-bench-snapshots-" + std::to_string(::getpid()))) {
        Empty();
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    void Empty() {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void TakeLumora(benchmark::State& state) {
    const std::vector<std::uint8_t> store = CameraFrame(0);
    lumora::SnapshotAlbum album;
    for (auto _ : state) {
        const std::optional<int> index = album.Add(CopyOf(store));
        benchmark::DoNotOptimize(album.At(*index).thumbnail.constBits());
        state.PauseTiming();
        album.Clear();
        state.ResumeTiming();
    }
}

void TakeBudget(benchmark::State& state) {
    for (auto _ : state) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);
        while (std::chrono::steady_clock::now() < end) {}
    }
}

std::vector<std::vector<std::uint8_t>> Frames() {
    std::vector<std::vector<std::uint8_t>> frames;
    for (int i = 0; i < kSnapshots; ++i) frames.push_back(CameraFrame(i));
    return frames;
}

void SaveLumora(benchmark::State& state) {
    lumora::SnapshotAlbum album;
    for (const std::vector<std::uint8_t>& frame : Frames()) album.Add(CopyOf(frame));
    Folder folder;
    for (auto _ : state) {
        if (album.SaveAll(folder.path()).written != kSnapshots) state.SkipWithError("not every snapshot was written");
        state.PauseTiming();
        folder.Empty();
        album.ResetNumbering();
        state.ResumeTiming();
    }
}

void SaveImwrite(benchmark::State& state) {
    const std::vector<std::vector<std::uint8_t>> frames = Frames();
    const std::vector<int> quality{cv::IMWRITE_JPEG_QUALITY, 90};
    Folder folder;
    for (auto _ : state) {
        for (int i = 0; i < kSnapshots; ++i) {
            const cv::Mat mat(kHeight, kWidth, CV_8UC3,
                              const_cast<std::uint8_t*>(frames[static_cast<std::size_t>(i)].data()),
                              ZImage_CalcWidthBytes(kWidth, 24));
            cv::imwrite((folder.path() / ("snapshot" + std::to_string(i) + ".jpg")).string(), mat, quality);
        }
        state.PauseTiming();
        folder.Empty();
        state.ResumeTiming();
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark(("Snapshot_Take/lumora/" + kSize).c_str(), TakeLumora)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("Snapshot_Take/budget5ms/" + kSize).c_str(), TakeBudget)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("Snapshot_SaveAll/lumora/" + kSize).c_str(), SaveLumora)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark(("Snapshot_SaveAll/cvImwrite/" + kSize).c_str(), SaveImwrite)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
    RatioTable::Shared().SetLimit("Snapshot_Take", "budget5ms", 1.0);
    RatioTable::Shared().SetLimit("Snapshot_SaveAll", "cvImwrite", 1.5);
    return true;
}();

}  // namespace
