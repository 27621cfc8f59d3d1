// FaceTrackingEffect: built-in effect "Face tracking" (layer 0). Keeps the user's face
// large and centred: the FaceTracker finds and follows the face, and every 0.2 s of stream
// time the face-following zoom takes the face's new position; in between it keeps zooming
// and panning toward the last one. With the locator on, the face is outlined in green.
//
// Per stream: the first frame after Start or Reset, and the first frame after a refresh
// that found no face, put the zoom back to 1.0x and start the refresh clock at that
// frame's time. A stream time that jumps backwards refreshes nothing until it reaches the
// old refresh time again (the application calls Reset on seeks).
//
// Threads: ProcessFrame on the streaming thread; Start, Stop and Reset on the user-
// interface thread; all three under the effect's lock (taken before the tracker's). The
// zoom amount and the locator switch are written by the zoom panel or the command line at
// any time without the lock (atomics); a frame uses the values it reads.
//
// Lifetime: the tracker and its worker live as long as the effect; Stop leaves them, and
// a later Start reuses them. The zoom's buffers are kept.
#pragma once

#include "effects/face_following_zoom.h"
#include "effects/face_tracker.h"

#include <lumora/effect.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace lumora {

class FaceTrackingEffect final : public Effect {
public:
    static constexpr double kRefreshInterval = 0.2;  // seconds of stream time
    static constexpr std::int32_t kMinZoomAmount = FaceFollowingZoom::kAmountLittle;
    static constexpr std::int32_t kMaxZoomAmount = FaceFollowingZoom::kAmountBiggest;

    // `cascadePath`: the detector's cascade (normally facedetect.xml beside the program).
    explicit FaceTrackingEffect(std::string cascadePath = FaceTracker::DefaultCascadePath());

    // kEffectFailed when the cascade cannot be loaded or the tracker cannot be made.
    std::int32_t Start() override;
    bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) override;
    // Forgets the face; the next frame starts a new detection and resets the zoom.
    void Reset() override;

    // How much of the frame the face should fill, in tenths: 6 little, 7 medium, 8 big,
    // 9 biggest. False, keeping the amount, for any other value.
    bool SetZoomAmount(std::int32_t amount) noexcept;
    std::int32_t zoomAmount() const noexcept { return zoom_.amount(); }
    void SetShowLocator(bool show) noexcept { zoom_.SetShowLocator(show); }
    bool showLocator() const noexcept { return zoom_.showLocator(); }

    // What the zoom is doing, read under the lock (for tests and diagnostics).
    struct ZoomState {
        std::int32_t factor;
        std::int32_t offsetX;
        std::int32_t offsetY;
        bool faceFound;
        FaceRect face;
    };
    ZoomState zoomState();
    // The tracker's diagnostics (any thread): see FaceTracker::Detecting and
    // DetectionsFinished.
    bool detecting() const noexcept { return tracker_.Detecting(); }
    std::uint32_t detectionsFinished() const noexcept { return tracker_.DetectionsFinished(); }

private:
    std::mutex lock_;
    FaceTracker tracker_;
    FaceFollowingZoom zoom_;
    FaceRect face_;
    bool faceFound_ = false;
    double nextRefresh_ = 0.0;
    bool initialised_ = false;
};

}  // namespace lumora
