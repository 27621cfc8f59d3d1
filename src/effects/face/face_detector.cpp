#include "effects/face/face_detector.h"

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

// Stronger first: more support, then larger, then higher and further left, so that the
// order never depends on the order the detector returned them in.
bool Stronger(const FaceDetector::Detection& a, const FaceDetector::Detection& b) {
    if (a.support != b.support) return a.support > b.support;
    if (a.box.area() != b.box.area()) return a.box.area() > b.box.area();
    if (a.box.y != b.box.y) return a.box.y < b.box.y;
    return a.box.x < b.box.x;
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

std::optional<cv::Rect> FaceDetector::Choose(std::vector<Detection> found) {
    // Strongest first, each kept unless it overlaps one kept before it.
    std::sort(found.begin(), found.end(), Stronger);
    std::vector<cv::Rect> kept;
    for (const Detection& d : found) {
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const cv::Rect& k) { return Overlap(k, d.box); });
        if (!seen) kept.push_back(d.box);
    }
    if (kept.empty()) return std::nullopt;
    return *std::max_element(kept.begin(), kept.end(),
                             [](const cv::Rect& a, const cv::Rect& b) { return a.area() < b.area(); });
}

}  // namespace lumora
