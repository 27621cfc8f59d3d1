// The face-tracking effect on 640 x 480 frames of a real face (messi5.jpg, the face about
// 72 pixels across, swaying a few pixels from frame to frame), once the face is found and
// the zoom has settled: the cost the streaming thread pays per frame (tracking plus the
// 3.97x zoom and the outline). References run on the same frames:
//   "kcf"      OpenCV's KCF tracker update alone on the whole frame, the filter the
//              tracker is built on (colour names, the face at its size in the frame);
//   "cascade"  one Haar cascade detection over the frame with the worker's parameters,
//              what finding the face costs when nothing is followed.
//
// The photograph is read from $LUMORA_TESTDATA or the shared test data beside the
// repository; without it these benchmarks are left out.
#include "ratio_table.h"

#include "effects/face_tracker.h"
#include "effects/face_tracking_effect.h"

#include <lumora/zimage.h>

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>
#include <opencv2/tracking.hpp>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 8;
const std::string kSize = "640x480";
const std::string kGroup = "FaceTrackingEffect";

std::string PhotoPath() {
    if (const char* dir = std::getenv("LUMORA_TESTDATA")) return std::string(dir) + "/messi5.jpg";
    const std::filesystem::path here(__FILE__);
    return (here.parent_path().parent_path().parent_path() / "shared" / "testdata" / "messi5.jpg").string();
}

// kFrames pictures (blue-green-red, top-down): the part of the photograph around the face,
// enlarged twice, on a textured background, moving back and forth by up to 6 pixels.
std::vector<cv::Mat> Pictures(const cv::Mat& photo) {
    cv::Mat background(kHeight, kWidth, CV_8UC3);
    cv::RNG random(7);
    random.fill(background, cv::RNG::UNIFORM, 0, 256);
    cv::GaussianBlur(background, background, cv::Size(), 3);
    cv::Mat crop;
    cv::resize(photo(cv::Rect(186, 52, 120, 120)), crop, cv::Size(), 2, 2, cv::INTER_LINEAR);
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < kFrames; ++i) {
        const int shift = (i < kFrames / 2 ? i : kFrames - i) * 3 / 2;
        cv::Mat picture = background.clone();
        crop.copyTo(picture(cv::Rect(200 + shift, 120 + shift / 2, crop.cols, crop.rows)));
        pictures.push_back(picture);
    }
    return pictures;
}

// The same pictures as frames: VideoFrame layout, bottom row first.
std::vector<std::vector<std::uint8_t>> Frames(const std::vector<cv::Mat>& pictures) {
    std::vector<std::vector<std::uint8_t>> frames;
    const std::size_t stride = ZImage_CalcWidthBytes(kWidth, 24);
    for (const cv::Mat& picture : pictures) {
        std::vector<std::uint8_t> frame(ZImage_CalcImageSize(kWidth, kHeight, 24));
        cv::Mat rows(kHeight, kWidth, CV_8UC3, frame.data(), stride);
        cv::flip(picture, rows, 0);
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::string Name(const std::string& impl) { return kGroup + "/" + impl + "/" + kSize; }

void RegisterEffect(std::shared_ptr<std::vector<std::vector<std::uint8_t>>> frames) {
    if (!std::filesystem::exists(lumora::FaceTracker::DefaultCascadePath())) {
        std::cerr << "bench_face: no " << lumora::FaceTracker::DefaultCascadePath() << "\n";
        return;
    }
    benchmark::RegisterBenchmark(Name("lumora").c_str(), [frames](benchmark::State& state) {
        lumora::FaceTrackingEffect effect;
        if (effect.Start() != lumora::kEffectStarted) {
            state.SkipWithError("the face tracker does not start");
            return;
        }
        std::vector<std::uint8_t> work((*frames)[0].size());
        double time = 0;
        std::size_t next = 0;
        const auto load = [&] {
            const auto& frame = (*frames)[next++ % frames->size()];
            std::memcpy(work.data(), frame.data(), work.size());
        };
        // Until the face is found and the zoom has reached its factor.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (effect.zoomState().factor < 1016 && std::chrono::steady_clock::now() < deadline) {
            load();
            effect.ProcessFrame(work.data(), kWidth, kHeight, time);
            time += 1.0 / 30;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        for (auto _ : state) {
            state.PauseTiming();
            load();
            state.ResumeTiming();
            effect.ProcessFrame(work.data(), kWidth, kHeight, time);
            time += 1.0 / 30;
        }
        const auto zoom = effect.zoomState();
        state.counters["following"] = zoom.faceFound && zoom.factor == 1016 ? 1 : 0;
    })->Unit(benchmark::kMillisecond)->UseRealTime();
}

void RegisterKcf(std::shared_ptr<std::vector<cv::Mat>> pictures) {
    benchmark::RegisterBenchmark(Name("kcf").c_str(), [pictures](benchmark::State& state) {
        cv::Ptr<cv::TrackerKCF> tracker = cv::TrackerKCF::create();
        tracker->init((*pictures)[0], cv::Rect(200 + 82, 120 + 84, 72, 72));
        cv::Rect box;
        std::size_t next = 1;
        for (auto _ : state) tracker->update((*pictures)[next++ % pictures->size()], box);
    })->Unit(benchmark::kMillisecond)->UseRealTime();
}

void RegisterCascade(std::shared_ptr<std::vector<cv::Mat>> pictures) {
    auto cascade = std::make_shared<cv::CascadeClassifier>();
    if (!cascade->load(lumora::FaceTracker::DefaultCascadePath())) return;
    benchmark::RegisterBenchmark(Name("cascade").c_str(), [pictures, cascade](benchmark::State& state) {
        std::vector<cv::Rect> faces;
        for (auto _ : state) {
            cascade->detectMultiScale((*pictures)[0], faces, 1.2, 2, cv::CASCADE_DO_CANNY_PRUNING, cv::Size());
        }
    })->Unit(benchmark::kMillisecond)->UseRealTime();
}

const bool registered = [] {
    const cv::Mat photo = cv::imread(PhotoPath());
    if (photo.empty()) {
        std::cerr << "bench_face: " << PhotoPath() << " not found, face benchmarks left out\n";
        return false;
    }
    auto pictures = std::make_shared<std::vector<cv::Mat>>(Pictures(photo));
    RegisterEffect(std::make_shared<std::vector<std::vector<std::uint8_t>>>(Frames(*pictures)));
    RegisterKcf(pictures);
    RegisterCascade(pictures);
    return true;
}();

}  // namespace
