#include "effects/face_tracker.h"

#include "effects/face_module.h"
#include "platform/program_paths.h"

#include <lumora/zimage.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <optional>
#include <system_error>
#include <utility>

namespace lumora {

namespace {

// How much nicer than the streaming threads the worker runs.
constexpr int kWorkerNiceness = 5;

// A frame in the VideoFrame layout as OpenCV sees it: rows bottom-up, padded.
cv::Mat FrameMat(const std::uint8_t* pixels, std::int32_t width, std::int32_t height) {
    return cv::Mat(height, width, CV_8UC3, const_cast<std::uint8_t*>(pixels),
                   ZImage_CalcWidthBytes(width, 24));
}

void LowerThisThreadsPriority() {
    const auto self = static_cast<id_t>(::gettid());
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0) ::setpriority(PRIO_PROCESS, self, nice + kWorkerNiceness);
}

}  // namespace

std::string FaceTracker::DefaultCascadePath() { return ProgramFolder() + kFaceCascadeFileName; }

FaceTracker::FaceTracker(std::string cascadePath) : cascadePath_(std::move(cascadePath)) {}

FaceTracker::~FaceTracker() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(signalLock_);
        quit_ = true;
    }
    signal_.notify_all();
    worker_.join();
}

bool FaceTracker::Start() {
    if (!engine_) engine_ = FaceModule::MakeEngine();
    if (!engine_ || !engine_->LoadCascade(cascadePath_)) return false;
    if (!worker_.joinable()) {
        try {
            worker_ = std::thread([this] { WorkerLoop(); });
            workerRunning_.store(true, std::memory_order_release);
        } catch (const std::system_error&) {
            // Without a worker no face is ever found; the effect leaves frames alone.
        }
    }
    return true;
}

bool FaceTracker::Feed(const std::uint8_t* pixels, std::int32_t width, std::int32_t height) {
    const std::uint32_t frameBytes = ZImage_CalcImageSize(width, height, 24);
    // Without a worker no face is ever found, so there is nothing to follow or queue.
    if (!engine_ || !pixels || frameBytes == 0 || !workerRunning_.load(std::memory_order_acquire)) return false;
    std::unique_lock<std::mutex> guard(lock_, std::try_to_lock);
    if (!guard.owns_lock()) return false;  // the worker is detecting

    const std::size_t packedBytes = static_cast<std::size_t>(width) * height * 3;
    try {
        if (trackingBuffer_.size() < packedBytes) trackingBuffer_.resize(packedBytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    try {
        // Top row first, red-green-blue, no padding.
        cv::Mat packed(height, width, CV_8UC3, trackingBuffer_.data());
        cv::flip(FrameMat(pixels, width, height), packed, 0);
        cv::cvtColor(packed, packed, cv::COLOR_BGR2RGB);
    } catch (const cv::Exception&) {
        return false;
    }

    std::uint32_t generation;
    FtRect face;
    bool tracking;
    {
        std::lock_guard<std::mutex> faceGuard(faceLock_);
        generation = generation_;
        face = face_;
        tracking = tracking_;
    }
    if (tracking) {
        // A frame of another size than the face was learnt in cannot be followed.
        const bool found =
            width == trackingWidth_ && height == trackingHeight_ && engine_->FollowInto(face, trackingBuffer_.data());
        Publish(generation, face, found);
        return found;
    }

    // The tracking buffer now holds this frame, and keeps it while the worker has the lock.
    detectionWidth_ = width;
    detectionHeight_ = height;
    detecting_.store(true, std::memory_order_release);
    {
        std::lock_guard<std::mutex> signalGuard(signalLock_);
        requested_ = true;
    }
    signal_.notify_one();
    return false;
}

bool FaceTracker::GetFace(FaceRect& face, std::int32_t, std::int32_t height) const {
    std::lock_guard<std::mutex> guard(faceLock_);
    if (!tracking_) return false;
    face.left = face_.left;
    face.right = face_.right;
    face.top = height - face_.top - 1;
    face.bottom = height - face_.bottom - 1;
    return true;
}

void FaceTracker::ForgetFace() {
    std::lock_guard<std::mutex> guard(faceLock_);
    ++generation_;
    tracking_ = false;
}

void FaceTracker::Publish(std::uint32_t generation, const FtRect& face, bool tracking) {
    std::lock_guard<std::mutex> guard(faceLock_);
    if (generation != generation_) return;
    if (tracking) face_ = face;
    tracking_ = tracking;
}

void FaceTracker::WorkerLoop() {
    LowerThisThreadsPriority();
    for (;;) {
        {
            std::unique_lock<std::mutex> signalGuard(signalLock_);
            signal_.wait(signalGuard, [this] { return requested_ || quit_; });
            if (quit_) return;
        }
        std::lock_guard<std::mutex> guard(lock_);
        {
            std::lock_guard<std::mutex> signalGuard(signalLock_);
            requested_ = false;
        }
        std::uint32_t generation;
        {
            std::lock_guard<std::mutex> faceGuard(faceLock_);
            generation = generation_;
        }
        FtRect face;
        bool found = false;
        try {
            found = DetectAndTrain(face);
        } catch (const std::exception&) {
            // Whatever OpenCV let through: no face this time, and the worker goes on.
        }
        Publish(generation, face, found);
        detectionsFinished_.fetch_add(1, std::memory_order_release);
        detecting_.store(false, std::memory_order_release);
    }
}

bool FaceTracker::DetectAndTrain(FtRect& face) {
    if (!DetectFace(face)) return false;
    if (!engine_->StartFollowing(detectionWidth_, detectionHeight_)) return false;
    if (!engine_->Learn(face, trackingBuffer_.data())) return false;
    trackingWidth_ = detectionWidth_;
    trackingHeight_ = detectionHeight_;
    return true;
}

bool FaceTracker::DetectFace(FtRect& face) {
    if (detectionWidth_ <= 0 || detectionHeight_ <= 0) return false;
    // What OpenCV throws here ends the detection in WorkerLoop, as one that found nothing.
    const std::optional<FtRect> found = engine_->FindFace(trackingBuffer_.data(), detectionWidth_, detectionHeight_);
    if (!found) return false;
    face = *found;
    return true;
}

}  // namespace lumora
