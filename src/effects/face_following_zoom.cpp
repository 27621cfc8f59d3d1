#include "effects/face_following_zoom.h"

#include <lumora/zimage.h>

#include <algorithm>

namespace lumora {

void FaceFollowingZoom::Reinitialise() noexcept {
    offsetX_ = offsetY_ = 0;
    following_ = false;
    factor_ = kNoZoom;
    adjusting_ = false;
    faceFound_ = false;
}

void FaceFollowingZoom::SetFace(const FaceRect& face, bool found) noexcept {
    face_ = face;
    faceFound_ = found;
}

std::int32_t FaceFollowingZoom::Quantise(std::int64_t factor) noexcept {
    if (factor < 264) return kNoZoom;
    return static_cast<std::int32_t>(std::min<std::int64_t>(factor / 8 * 8, kMaxFactor));
}

std::int32_t FaceFollowingZoom::TargetFactor(const FaceRect& face, std::int32_t width, std::int32_t height,
                                             std::int32_t amount, FaceRect* clipped) noexcept {
    const FaceRect c{std::max(face.left, 0), std::min(face.top, height - 1), std::min(face.right, width),
                     std::max(face.bottom, -1)};
    if (clipped) *clipped = c;
    if (face.right < 1 || face.left >= width || face.bottom > height - 1 || face.top < 0) return kNoZoom;
    const std::int64_t faceWidth = c.right - c.left;
    const std::int64_t faceHeight = c.top - c.bottom;
    if (faceWidth < kMinFaceSize || faceHeight < kMinFaceSize) return kNoZoom;
    const std::int64_t tx = (static_cast<std::int64_t>(amount) * width * 256 / 10) / faceWidth;
    const std::int64_t ty = (static_cast<std::int64_t>(amount) * height * 256 / 10) / faceHeight;
    return std::min(Quantise(tx), Quantise(ty));
}

std::int32_t FaceFollowingZoom::Smooth(std::int32_t target) noexcept {
    const std::int32_t before = factor_;
    if (!adjusting_) {
        adjusting_ = target < factor_ - kDeadBand || target > factor_ + kDeadBand;
    } else if (factor_ < target) {
        factor_ += kFactorStep;
    } else if (factor_ > target) {
        factor_ -= kFactorStep;
    } else {
        adjusting_ = false;
    }
    return adjusting_ ? factor_ - before : 0;
}

void FaceFollowingZoom::Pan(std::int32_t fx, std::int32_t fy, std::int32_t width, std::int32_t height) noexcept {
    const std::int32_t vx = width / 2 + offsetX_;
    const std::int32_t vy = height / 2 + offsetY_;
    if (!following_) {
        following_ = fx < vx - kStartFollowing || fx > vx + kStartFollowing || fy < vy - kStartFollowing ||
                     fy > vy + kStartFollowing;
        return;
    }
    const auto step = [](std::int32_t view, std::int32_t face, std::int32_t& offset) {
        if (view < face - kStopFollowing) {
            offset += kPanStep;
        } else if (view > face + kStopFollowing) {
            offset -= kPanStep;
        } else {
            return true;
        }
        return false;
    };
    const bool settledX = step(vx, fx, offsetX_);
    const bool settledY = step(vy, fy, offsetY_);
    if (settledX && settledY) following_ = false;
}

void FaceFollowingZoom::DrawOutline(std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                                    const FaceRect& r) const noexcept {
    if (showLocator_.load()) ZImage_DrawRect(pixels, width, height, r.left, r.top, r.right, r.bottom, kLocatorColour);
}

void FaceFollowingZoom::Apply(std::uint8_t* pixels, std::int32_t width, std::int32_t height) noexcept {
    if (!faceFound_ || !pixels) return;
    FaceRect c;
    const std::int32_t target = TargetFactor(face_, width, height, amount_.load(), &c);
    if (target == kNoZoom) {
        DrawOutline(pixels, width, height, face_);
        return;
    }
    const std::int32_t change = Smooth(target);
    const std::int32_t f = factor_;
    const std::int32_t zoomWidth = static_cast<std::int32_t>((static_cast<std::int64_t>(f) * width) >> 8);
    const std::int32_t zoomHeight = static_cast<std::int32_t>((static_cast<std::int64_t>(f) * height) >> 8);
    // Keep the face where it is while the factor changes.
    if (change != 0) {
        offsetX_ += (((c.left + c.right) / 2) * change) >> 8;
        offsetY_ += (((c.bottom + c.top) / 2) * change) >> 8;
    }
    // The face in the enlarged picture.
    const FaceRect s{(c.left * f) >> 8, (c.top * f) >> 8, (((c.right - 1) * f) >> 8) + 1, (((c.bottom + 1) * f) >> 8) - 1};
    Pan((s.left + s.right) / 2, (s.bottom + s.top) / 2, width, height);

    // The window drawn is kept inside the enlarged picture; the stored offsets are not.
    std::int32_t x = std::max(offsetX_, 0);
    if (width + x > zoomWidth) x = zoomWidth - width;
    std::int32_t y = std::max(offsetY_, 0);
    if (height + y > zoomHeight) y = zoomHeight - height;
    if (!window_.Draw(pixels, width, height, zoomWidth, zoomHeight, x, y)) {
        DrawOutline(pixels, width, height, face_);
        return;
    }
    DrawOutline(pixels, width, height, FaceRect{s.left - x, s.top - y, s.right - x, s.bottom - y});
}

}  // namespace lumora
