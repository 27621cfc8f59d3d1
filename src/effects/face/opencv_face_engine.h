// OpenCvFaceEngine: the FaceEngine of liblumora-face.so, a FaceDetector and a CFaceTrack
// side by side. The detector is given the frame back in blue-green-red, as the cascade
// was trained on.
//
// Thread and lifetime: as FaceEngine (face_engine.h).
#pragma once

#include "effects/face/c_face_track.h"
#include "effects/face/face_detector.h"
#include "effects/face_engine.h"

#include <vector>

namespace lumora {

class OpenCvFaceEngine final : public FaceEngine {
public:
    bool LoadCascade(const std::string& path) override;
    std::optional<FtRect> FindFace(const std::uint8_t* frame, std::int32_t width, std::int32_t height) override;
    bool StartFollowing(std::int32_t width, std::int32_t height) override;
    bool Learn(FtRect face, const std::uint8_t* frame) override;
    bool FollowInto(FtRect& face, const std::uint8_t* frame) override;

private:
    FaceDetector detector_;
    CFaceTrack track_;
};

}  // namespace lumora
