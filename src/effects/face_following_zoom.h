// FaceFollowingZoom: the zoom that keeps a tracked face large and centred. Given the
// face's rectangle on every frame, it derives a target factor from the face's size,
// moves the factor toward it in steps of 8/256 per frame, pans the window after the face
// 2 pixels per frame and per axis, enlarges the frame and draws the face outline.
//
// Factors are in 1/256 units (256 = 1.0x). Coordinates are frame pixels, x from the left
// column, y from the bottom row; a rectangle's top is its larger y. The arithmetic is
// integer: divisions truncate toward zero, right shifts of negative values are
// arithmetic.
//
// Threads: the face-tracking effect owns one and calls Reinitialise, SetFace and Apply
// under its own lock. The panel writes the zoom amount and the locator switch directly;
// those two are atomic. Memory: only the visible window is computed (ZoomWindow); its
// buffers grow with the frame size and are kept.
#pragma once

#include "effects/zoom_window.h"

#include <atomic>
#include <cstdint>

namespace lumora {

struct FaceRect {
    std::int32_t left = 0;
    std::int32_t top = 0;  // the larger y
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const FaceRect&, const FaceRect&) = default;
};

class FaceFollowingZoom {
public:
    static constexpr std::int32_t kNoZoom = 256;
    static constexpr std::int32_t kMaxFactor = 1016;  // 3.97x
    static constexpr std::int32_t kDeadBand = 32;     // target changes ignored within this
    static constexpr std::int32_t kFactorStep = 8;
    static constexpr std::int32_t kStartFollowing = 40;  // pixels between face and window centre
    static constexpr std::int32_t kStopFollowing = 6;
    static constexpr std::int32_t kPanStep = 2;
    static constexpr std::int32_t kMinFaceSize = 10;
    static constexpr std::uint32_t kLocatorColour = 0x0000FF00;  // green, 0x00BBGGRR
    // How much of the frame the face should fill, in tenths.
    static constexpr std::int32_t kAmountLittle = 6, kAmountMedium = 7, kAmountBig = 8, kAmountBiggest = 9;

    // Back to 1.0x with the window at 0, 0, not following, not adjusting, no face.
    void Reinitialise() noexcept;
    // The face as the tracker last reported it (`found` false: no face).
    void SetFace(const FaceRect& face, bool found) noexcept;

    // Zooms the frame after the face (nothing without a face). Without memory for the
    // window the frame stays as it is and only the outline is drawn.
    void Apply(std::uint8_t* pixels, std::int32_t width, std::int32_t height) noexcept;

    // The factor that makes the face fill `amount` tenths of the frame in its tighter
    // direction, quantised; kNoZoom for a face outside the frame or smaller than 10
    // pixels. `clipped` receives the face clipped to the frame.
    static std::int32_t TargetFactor(const FaceRect& face, std::int32_t width, std::int32_t height,
                                     std::int32_t amount, FaceRect* clipped) noexcept;
    // Below 264: 256; else the largest multiple of 8 not above it, at most 1016.
    static std::int32_t Quantise(std::int64_t factor) noexcept;

    std::int32_t amount() const noexcept { return amount_.load(); }
    void SetAmount(std::int32_t amount) noexcept { amount_.store(amount); }
    bool showLocator() const noexcept { return showLocator_.load(); }
    void SetShowLocator(bool show) noexcept { showLocator_.store(show); }

    std::int32_t factor() const noexcept { return factor_; }
    bool adjusting() const noexcept { return adjusting_; }
    bool following() const noexcept { return following_; }
    std::int32_t offsetX() const noexcept { return offsetX_; }
    std::int32_t offsetY() const noexcept { return offsetY_; }

private:
    // Steps the factor toward `target`; answers the change made (0 or +-8).
    std::int32_t Smooth(std::int32_t target) noexcept;
    // Starts, continues or ends the pan toward the face centre (fx, fy).
    void Pan(std::int32_t fx, std::int32_t fy, std::int32_t width, std::int32_t height) noexcept;
    void DrawOutline(std::uint8_t* pixels, std::int32_t width, std::int32_t height, const FaceRect& r) const noexcept;

    std::atomic<std::int32_t> amount_{kAmountBiggest};
    std::atomic<bool> showLocator_{true};

    std::int32_t offsetX_ = 0;
    std::int32_t offsetY_ = 0;
    bool following_ = false;
    std::int32_t factor_ = kNoZoom;
    bool adjusting_ = false;
    FaceRect face_;
    bool faceFound_ = false;
    ZoomWindow window_;
};

}  // namespace lumora
