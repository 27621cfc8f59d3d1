// CFaceTrack: follows one face from frame to frame once it has been shown where the face
// is. The face tracker (face_tracker.h) trains it with the rectangle the detector found and
// then asks it for the face's new place in every frame, until it reports the face lost.
//
// Frames are packed top-down rows of red, green, blue bytes (width x 3 bytes a row, no
// padding) of the size given to FtInitialization. Rectangles count y from the top row;
// right and bottom lie just outside the face.
//
// Inside: OpenCV's KCF correlation filter, run on the frame scaled so that the face is
// about 32 pixels across, finds where the face moved. The grey template of the face as it
// was learnt, compared with the picture there at a few sizes, gives the face's new size
// and corrects its place to a fraction of a pixel; the filter is trained afresh when it
// is more than a working pixel off or the size has drifted. The face counts as lost when
// the filter's peak is too weak, when the template no longer matches (the face turned
// away, was covered or left), or when the face's centre leaves the frame.
//
// Thread: one thread at a time (the tracker serialises its calls under its lock).
#pragma once

#include "effects/face_engine.h"

#include <cstdint>
#include <memory>

namespace lumora {

// What the tracker compares: colour names and grey levels (the only kind there is).
enum class TemplateType : std::int32_t { kColour = 0 };

class CFaceTrack {
public:
    CFaceTrack();
    ~CFaceTrack();
    CFaceTrack(const CFaceTrack&) = delete;
    CFaceTrack& operator=(const CFaceTrack&) = delete;

    // Prepares for frames of width x height following `faces` faces (only 1 is supported)
    // and forgets any face learnt before. Non-zero when ready.
    std::int32_t FtInitialization(std::int32_t width, std::int32_t height, std::int32_t faces, TemplateType type);
    // Learns the face at `face` in `frame`. Non-zero when learnt; a rectangle smaller than
    // 4 pixels either way, or reaching outside the frame by more than half, is refused.
    std::int32_t FtTraining(FtRect face, const std::uint8_t* frame);
    // Finds the learnt face in the next frame and moves `face` there. Non-zero while the
    // face is followed; 0 when it is lost (or nothing was learnt), `face` then unchanged.
    std::int32_t FtTrackNextFrame(FtRect& face, const std::uint8_t* frame);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumora
