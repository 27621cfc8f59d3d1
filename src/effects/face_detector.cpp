#include "effects/face_detector.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/objdetect.hpp>

#include <algorithm>
#include <new>

namespace lumora {

namespace {

constexpr double kDetectionScale = 1.2;
constexpr int kDetectionNeighbours = 2;

// True when the two rectangles share at least a quarter of the smaller one.
bool Overlap(const cv::Rect& a, const cv::Rect& b) {
    const int smaller = std::min(a.area(), b.area());
    return 4 * (a & b).area() >= smaller && smaller > 0;
}

// True when another detection of the same head is better supported (or, equally
// supported, larger).
bool OutdoneByAnOverlappingOne(const FaceDetector::Detection& d, const std::vector<FaceDetector::Detection>& all) {
    for (const FaceDetector::Detection& other : all) {
        if (&other == &d || !Overlap(d.box, other.box)) continue;
        if (other.support > d.support || (other.support == d.support && other.box.area() > d.box.area())) return true;
    }
    return false;
}

}  // namespace

FaceDetector::FaceDetector() = default;

FaceDetector::~FaceDetector() = default;

bool FaceDetector::Load(const std::string& path) {
    cascade_.reset();
    try {
        auto cascade = std::make_unique<cv::CascadeClassifier>();
        if (!cascade->load(path) || cascade->empty()) return false;
        cascade_ = std::move(cascade);
        return true;
    } catch (const cv::Exception&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::vector<FaceDetector::Detection> FaceDetector::FindAll(const cv::Mat& picture) {
    std::vector<Detection> found;
    if (!cascade_ || picture.empty()) return found;
    try {
        std::vector<cv::Rect> boxes;
        std::vector<int> support;
        // OpenCV runs a parallel loop nested in another one serially, on the thread that
        // reached it: wrapped in a loop of one step, the whole detection stays on this
        // thread instead of drawing OpenCV's worker threads onto every core.
        cv::parallel_for_(cv::Range(0, 1), [&](const cv::Range&) {
            cascade_->detectMultiScale(picture, boxes, support, kDetectionScale, kDetectionNeighbours,
                                       cv::CASCADE_DO_CANNY_PRUNING, cv::Size());
        });
        found.reserve(boxes.size());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            found.push_back({boxes[i], i < support.size() ? support[i] : 0});
        }
    } catch (const cv::Exception&) {
        found.clear();
    } catch (const std::bad_alloc&) {
        found.clear();
    }
    return found;
}

std::optional<cv::Rect> FaceDetector::Choose(const std::vector<Detection>& found) {
    const Detection* chosen = nullptr;
    for (const Detection& d : found) {
        if (OutdoneByAnOverlappingOne(d, found)) continue;
        if (!chosen || d.box.area() > chosen->box.area()) chosen = &d;
    }
    if (!chosen) return std::nullopt;
    return chosen->box;
}

}  // namespace lumora
