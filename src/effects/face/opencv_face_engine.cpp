#include "effects/face/opencv_face_engine.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace lumora {

bool OpenCvFaceEngine::LoadCascade(const std::string& path) { return detector_.loaded() || detector_.Load(path); }

std::optional<FtRect> OpenCvFaceEngine::FindFace(const std::uint8_t* frame, std::int32_t width, std::int32_t height) {
    if (!frame || width <= 0 || height <= 0) return std::nullopt;
    cv::Mat picture;
    const cv::Mat packed(height, width, CV_8UC3, const_cast<std::uint8_t*>(frame));
    cv::cvtColor(packed, picture, cv::COLOR_RGB2BGR);
    const std::optional<cv::Rect> found = detector_.FindFace(picture);
    if (!found) return std::nullopt;
    return FtRect{found->x, found->y, found->x + found->width, found->y + found->height};
}

bool OpenCvFaceEngine::StartFollowing(std::int32_t width, std::int32_t height) {
    return track_.FtInitialization(width, height, 1, TemplateType::kColour) != 0;
}

bool OpenCvFaceEngine::Learn(FtRect face, const std::uint8_t* frame) { return track_.FtTraining(face, frame) != 0; }

bool OpenCvFaceEngine::FollowInto(FtRect& face, const std::uint8_t* frame) {
    return track_.FtTrackNextFrame(face, frame) != 0;
}

}  // namespace lumora
