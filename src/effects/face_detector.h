// FaceDetector: the Haar-cascade face detector behind face tracking. It runs the cascade
// over the whole picture (scale 1.2, 2 neighbours, Canny pruning, no minimum size) and
// chooses the face to follow among what it finds.
//
// Which face: each face the cascade reports merges a number of detection windows (its
// support). With only two neighbours asked for, the cascade also fires on a chin and neck
// or a shoulder next to a real face, and such a rectangle can be larger than the face.
// Rectangles that overlap (the common part is at least a quarter of the smaller one) are
// taken for one head seen twice, and only the better-supported one is kept (of equal
// support, the larger). The face followed is the largest of the rest: the person in front
// of the camera, not someone behind them.
//
// Threads: one detector is used by one thread at a time. A detection runs on the calling
// thread alone: OpenCV's parallel loops inside it are not spread over other cores, so a
// detection on a background thread never takes a core from the video. (OpenCV keeps one
// "inside a parallel loop" flag per process, so while a detection runs, OpenCV's parallel
// loops on other threads run serially too; they are the small conversions of one frame.)
// Lifetime: the cascade is loaded by Load and kept.
#pragma once

#include <opencv2/core/mat.hpp>
#include <opencv2/core/types.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cv {
class CascadeClassifier;
}

namespace lumora {

class FaceDetector {
public:
    struct Detection {
        cv::Rect box;  // top-down picture coordinates
        int support = 0;  // detection windows merged into this face
    };

    FaceDetector();
    ~FaceDetector();
    FaceDetector(const FaceDetector&) = delete;
    FaceDetector& operator=(const FaceDetector&) = delete;

    // Loads the cascade file; false (and nothing loaded) when it cannot be read or is no
    // usable cascade.
    bool Load(const std::string& path);
    bool loaded() const noexcept { return cascade_ != nullptr; }

    // Every face in a top-down blue-green-red picture (CV_8UC3), in the detector's order.
    // Empty when nothing is loaded or the detector fails.
    std::vector<Detection> FindAll(const cv::Mat& picture);

    // The face to follow among `found` (see above); nothing when `found` is empty.
    static std::optional<cv::Rect> Choose(const std::vector<Detection>& found);

    // FindAll and Choose.
    std::optional<cv::Rect> FindFace(const cv::Mat& picture) { return Choose(FindAll(picture)); }

private:
    std::unique_ptr<cv::CascadeClassifier> cascade_;
};

}  // namespace lumora
