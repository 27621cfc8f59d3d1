// FaceEngine: what face tracking needs of OpenCV's object detection and trackers, behind
// one narrow door: the Haar-cascade detector (FaceDetector) and the face follower
// (CFaceTrack). The engine lives in a module of its own, liblumora-face.so, which
// FaceModule loads the first time a face is looked for: those parts of OpenCV bring a
// dozen libraries (the neural-network module, protobuf, LAPACK, Fortran's runtime...)
// that a run without face tracking should neither load nor keep in memory.
//
// Frames are packed top-down rows of red, green, blue bytes (width x 3 bytes a row, no
// padding). Rectangles count y from the top row; right and bottom lie just outside.
//
// Thread: one thread at a time (the face tracker serialises its calls under its lock).
// What OpenCV throws inside comes out as std::exception: a detection or a step that
// failed, not a broken engine.
// Lifetime: owned by its user through std::unique_ptr; the module stays loaded for the
// rest of the process, so the engine may outlive whoever made it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

struct FtRect {
    std::int32_t left = 0;
    std::int32_t top = 0;  // the smaller y: rows count from the top
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const FtRect&, const FtRect&) = default;
};

class FaceEngine {
public:
    virtual ~FaceEngine() = default;

    // Loads the detector's cascade file once; later calls answer whether it is loaded.
    // False when it cannot be read or is no usable cascade.
    virtual bool LoadCascade(const std::string& path) = 0;

    // The face to follow in a frame (FaceDetector::FindFace); nothing when none is found.
    virtual std::optional<FtRect> FindFace(const std::uint8_t* frame, std::int32_t width, std::int32_t height) = 0;

    // CFaceTrack's calls, for one face: prepare for frames of this size, learn the face at
    // `face`, find it in the next frame. Each true on success (see c_face_track.h).
    virtual bool StartFollowing(std::int32_t width, std::int32_t height) = 0;
    virtual bool Learn(FtRect face, const std::uint8_t* frame) = 0;
    virtual bool FollowInto(FtRect& face, const std::uint8_t* frame) = 0;
};

// The module's one export: a new engine, or null when it cannot be made.
using MakeFaceEngineFunction = FaceEngine* (*)();
inline constexpr char kMakeFaceEngineExport[] = "lumora_make_face_engine";
inline constexpr char kFaceModuleFileName[] = "liblumora-face.so";

}  // namespace lumora
