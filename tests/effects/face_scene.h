// Frames with a real face for the face detection and tracking tests: the part of
// messi5.jpg around the player's face, scaled and placed anywhere on a fixed textured
// background. Positions are top-down (y from the top row), as the photograph's.
#pragma once

#include "test_frames.h"
#include "test_support.h"

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdint>
#include <vector>

namespace lumora::test {

// A picture (blue-green-red, top-down) as a frame: VideoFrame layout, bottom row first.
inline TestFrame FrameOf(const cv::Mat& picture) {
    TestFrame frame(picture.cols, picture.rows);
    cv::Mat rows(picture.rows, picture.cols, CV_8UC3, frame.data(), frame.layout.stride());
    cv::flip(picture, rows, 0);
    return frame;
}

class FaceScene {
public:
    // The 120 x 120 crop of the photograph holds the face at (41, 42), 36 x 36.
    static constexpr double kFaceX = 41, kFaceY = 42, kFaceSide = 36;

    FaceScene(int width, int height) : background_(height, width, CV_8UC3) {
        const cv::Mat photo = cv::imread(TestDataPath("messi5.jpg"));
        if (!photo.empty()) crop_ = photo(cv::Rect(186, 52, 120, 120)).clone();
        cv::RNG random(7);
        random.fill(background_, cv::RNG::UNIFORM, 0, 256);
        cv::GaussianBlur(background_, background_, cv::Size(), 3);
    }

    bool loaded() const { return !crop_.empty(); }

    // The picture (blue-green-red, top-down) with the crop enlarged `scale` times at (x, y);
    // `withFace` false gives the background alone.
    cv::Mat Picture(double x, double y, double scale, bool withFace = true) const {
        cv::Mat picture = background_.clone();
        if (!withFace) return picture;
        cv::Mat enlarged;
        cv::resize(crop_, enlarged, cv::Size(), scale, scale, cv::INTER_LINEAR);
        const cv::Rect at(cvRound(x), cvRound(y), enlarged.cols, enlarged.rows);
        const cv::Rect inside = at & cv::Rect(0, 0, picture.cols, picture.rows);
        if (!inside.empty()) enlarged(inside - at.tl()).copyTo(picture(inside));
        return picture;
    }

    // Where the face is in that picture, top-down.
    static cv::Rect2d Face(double x, double y, double scale) {
        return {x + kFaceX * scale, y + kFaceY * scale, kFaceSide * scale, kFaceSide * scale};
    }

    // The picture as a frame.
    TestFrame Frame(double x, double y, double scale, bool withFace = true) const {
        return FrameOf(Picture(x, y, scale, withFace));
    }

    // The picture as packed top-down red-green-blue rows.
    std::vector<std::uint8_t> Packed(double x, double y, double scale, bool withFace = true) const {
        const cv::Mat picture = Picture(x, y, scale, withFace);
        std::vector<std::uint8_t> packed(picture.total() * 3);
        cv::Mat rgb(picture.rows, picture.cols, CV_8UC3, packed.data());
        cv::cvtColor(picture, rgb, cv::COLOR_BGR2RGB);
        return packed;
    }

private:
    cv::Mat crop_;
    cv::Mat background_;
};

}  // namespace lumora::test
