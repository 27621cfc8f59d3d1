// FaceDetector: the Haar-cascade face detector behind face tracking. It runs the cascade
// over the whole picture (scale 1.2, 2 neighbours, Canny pruning, no minimum size) and
// chooses the face to follow among what it finds.
//
// Which face: each face the cascade reports merges a number of detection windows (its
// support). With only two neighbours asked for, the cascade also fires on a chin and neck
// or a shoulder next to a real face, and such a rectangle can be larger than the face.
// Rectangles that overlap (the common part is at least a quarter of the smaller one) are
// taken for one head seen twice: going from the best-supported down (of equal support,
// the larger first), a rectangle is kept unless it overlaps one kept already. The face
// followed is the largest one kept: the person in front of the camera, not someone
// behind them.
//
// Threads: Load before the detector is shared; then FindAll on one thread at a time, and
// loaded() from any thread.
//
// A detection runs on the calling thread alone: it is wrapped in an OpenCV parallel loop
// of one step, and OpenCV runs the parallel loops nested in another serially, so the
// detector's own loops do not spread over OpenCV's worker threads, which run at normal
// priority, onto the core the video needs. OpenCV keeps that "inside a parallel loop"
// flag for the whole process: while a detection runs, OpenCV loops started on other
// threads (the zoom's enlargement, the virtual camera's conversion, the tracker's
// conversions) run serially on their own threads, as they do during any OpenCV loop; and
// a detection that starts while another thread is inside an OpenCV loop may still spread
// once that loop ends.
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
        cv::Rect box;     // top-down picture coordinates
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
    static std::optional<cv::Rect> Choose(std::vector<Detection> found);

    // FindAll and Choose.
    std::optional<cv::Rect> FindFace(const cv::Mat& picture) { return Choose(FindAll(picture)); }

private:
    std::unique_ptr<cv::CascadeClassifier> cascade_;
};

}  // namespace lumora
