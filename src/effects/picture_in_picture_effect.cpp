#include "effects/picture_in_picture_effect.h"

#include "effects/builtin_effects.h"
#include "effects/pip_options_host.h"

#include <lumora/registry.h>
#include <lumora/zimage.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace lumora {

namespace {

constexpr char kPositionValue[] = "WindowPosition";
constexpr char kMarginValue[] = "Margin";
constexpr char kSizeValue[] = "WindowSize";
constexpr char kProportionsValue[] = "MaintainProportions";
constexpr char kBorderValue[] = "DrawBorder";
constexpr char kBorderColourValue[] = "BorderColor";
constexpr std::uint32_t kMissing = 0xFFFFFFFFu;

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

}  // namespace

PictureInPictureEffect::PictureInPictureEffect() noexcept
    : Effect(kPictureInPictureEffectName, kPictureInPictureEffectGuid, kLayerInset) {
    customColours_.fill(qRgb(255, 255, 255));
}

PictureInPictureEffect::~PictureInPictureEffect() { Stop(); }

void PictureInPictureEffect::SetCameraCatalogue(const CameraCatalogue* cameras) noexcept { cameras_ = cameras; }

void PictureInPictureEffect::SetOptionsHost(PipOptionsHost* host) noexcept { optionsHost_ = host; }

PipSettings PictureInPictureEffect::settings() {
    std::lock_guard<std::mutex> guard(lock_);
    return settings_;
}

bool PictureInPictureEffect::SetSettings(const PipSettings& settings) {
    if (!settings.IsValid()) return false;
    std::lock_guard<std::mutex> guard(lock_);
    settings_ = settings;
    return true;
}

bool PictureInPictureEffect::IsRunning() {
    std::lock_guard<std::mutex> guard(lock_);
    return running_;
}

std::int32_t PictureInPictureEffect::Start() {
    Stop();
    PipSettings chosen = settings();
    if (chosen.deviceIndex < 0) {
        if (!EditOptions(chosen)) return kEffectCancelled;
        std::lock_guard<std::mutex> guard(lock_);
        settings_ = chosen;
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        running_ = true;
        cameraLost_.store(false);
        mainWidth_ = mainHeight_ = insetWidth_ = insetHeight_ = 0;
    }
    const HRESULT built = graph_.Build(
        cameras_, chosen.deviceIndex,
        [this](const std::uint8_t* rows, std::size_t stride, std::int32_t width, std::int32_t height) {
            OnCameraFrame(rows, stride, width, height);
        },
        [this] { cameraLost_.store(true); });
    if (FAILED(built)) {
        std::lock_guard<std::mutex> guard(lock_);
        running_ = false;
        return kEffectFailed;
    }
    return kEffectStarted;
}

void PictureInPictureEffect::Stop() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        running_ = false;
    }
    // Outside the lock: the camera's thread only tries it, and the main video need not wait
    // while the camera closes.
    graph_.Stop();
    std::lock_guard<std::mutex> guard(lock_);
    ReleaseInset();
}

void PictureInPictureEffect::Reset() { Start(); }

bool PictureInPictureEffect::ShowOptions() {
    PipSettings edited = settings();
    if (!EditOptions(edited)) return false;
    std::lock_guard<std::mutex> guard(lock_);
    settings_ = edited;
    return true;
}

bool PictureInPictureEffect::EditOptions(PipSettings& settings) {
    return optionsHost_ != nullptr && optionsHost_->EditPipOptions(cameras_, settings, customColours_, ownerWindow);
}

void PictureInPictureEffect::ReleaseInset() {
    std::vector<std::uint8_t>().swap(inset_);
}

bool PictureInPictureEffect::ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double) {
    if (!pixels) return false;
    std::lock_guard<std::mutex> guard(lock_);
    // A camera that went away leaves the box, not its last picture.
    if (cameraLost_.load() && !inset_.empty()) ReleaseInset();
    mainWidth_ = width;
    mainHeight_ = height;
    const PipSettings& s = settings_;
    if (inset_.empty()) {
        insetWidth_ = s.size * width / 100;
        insetHeight_ = s.size * height / 100;
    }
    const std::int32_t m = s.drawBorder ? s.margin + 1 : s.margin;
    std::int32_t x = m;
    std::int32_t y = m;
    switch (s.position) {
    case kPipTopLeft:
        y = height - insetHeight_ - m;
        break;
    case kPipTopRight:
        x = width - insetWidth_ - m;
        y = height - insetHeight_ - m;
        break;
    case kPipBottomRight:
        x = width - insetWidth_ - m;
        break;
    default:
        break;
    }
    if (!inset_.empty()) {
        ZImage_Composition(pixels, width, height, inset_.data(), insetWidth_, insetHeight_, x, y);
    } else {
        ZImage_Fill(pixels, width, height, insetWidth_, insetHeight_, x, y, kDarkBoxColour, 0);
    }
    if (s.drawBorder) {
        ZImage_DrawRect(pixels, width, height, x - 1, y + insetHeight_ + 1, x + insetWidth_ + 1, y - 1,
                        s.borderColour);
    }
    return true;
}

void PictureInPictureEffect::OnCameraFrame(const std::uint8_t* rows, std::size_t stride, std::int32_t width,
                                           std::int32_t height) {
    std::unique_lock<std::mutex> guard(lock_, std::try_to_lock);
    if (!guard.owns_lock() || !running_ || cameraLost_.load() || mainWidth_ < 1 || width < 1 || height < 1) return;
    const PipSettings& s = settings_;
    std::int64_t insetWidth = static_cast<std::int64_t>(s.size) * mainWidth_ / 100;
    std::int64_t insetHeight = static_cast<std::int64_t>(mainHeight_) * s.size / 100;
    if (s.maintainProportions) {
        // The largest picture with the camera's proportions inside the box.
        const std::int64_t fitWidth = insetHeight * width / height;
        if (insetWidth < fitWidth) {
            insetHeight = insetWidth * height / width;
        } else {
            insetWidth = fitWidth;
        }
    }
    const std::uint32_t needed =
        ZImage_CalcImageSize(static_cast<std::int32_t>(insetWidth), static_cast<std::int32_t>(insetHeight), 24);
    if (needed == 0) {  // nothing to show at this size
        ReleaseInset();
        return;
    }
    try {
        inset_.resize(needed);
        insetWidth_ = static_cast<std::int32_t>(insetWidth);
        insetHeight_ = static_cast<std::int32_t>(insetHeight);
        const cv::Mat source(height, width, CV_8UC3, const_cast<std::uint8_t*>(rows), stride);
        cv::Mat target(insetHeight_, insetWidth_, CV_8UC3, inset_.data(), ZImage_CalcWidthBytes(insetWidth_, 24));
        cv::resize(source, target, target.size(), 0, 0, cv::INTER_AREA);
        cv::flip(target, target, 0);  // the camera's rows run top-down, the frame's bottom-up
    } catch (const std::bad_alloc&) {
        ReleaseInset();
    } catch (const cv::Exception&) {
        ReleaseInset();
    }
}

void PictureInPictureEffect::LoadSettings(HKEY root, const char* path) {
    const auto read = [&](const char* name) { return ReadRegDword(root, path, name, kMissing); };
    const auto position = static_cast<std::int32_t>(read(kPositionValue));
    const auto margin = static_cast<std::int32_t>(read(kMarginValue));
    const auto size = static_cast<std::int32_t>(read(kSizeValue));
    const std::uint32_t proportions = read(kProportionsValue);
    const std::uint32_t border = read(kBorderValue);
    const std::uint32_t colour = read(kBorderColourValue);

    std::lock_guard<std::mutex> guard(lock_);
    if (InRange(position, kPipTopLeft, kPipBottomRight)) settings_.position = position;
    if (InRange(margin, PipSettings::kMinMargin, PipSettings::kMaxMargin)) settings_.margin = margin;
    if (InRange(size, PipSettings::kMinSize, PipSettings::kMaxSize)) settings_.size = size;
    if (proportions != kMissing) settings_.maintainProportions = proportions != 0;
    if (border != kMissing) settings_.drawBorder = border != 0;
    if (colour != kMissing) settings_.borderColour = colour;
}

void PictureInPictureEffect::SaveSettings(HKEY root, const char* path) {
    const PipSettings s = settings();
    WriteRegDword(root, path, kPositionValue, static_cast<std::uint32_t>(s.position));
    WriteRegDword(root, path, kMarginValue, static_cast<std::uint32_t>(s.margin));
    WriteRegDword(root, path, kSizeValue, static_cast<std::uint32_t>(s.size));
    WriteRegDword(root, path, kProportionsValue, s.maintainProportions ? 1 : 0);
    WriteRegDword(root, path, kBorderValue, s.drawBorder ? 1 : 0);
    WriteRegDword(root, path, kBorderColourValue, s.borderColour);
}

}  // namespace lumora
