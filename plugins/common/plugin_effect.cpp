#include "common/plugin_effect.h"

#include "common/qt_bitmap.h"

#include <QImage>
#include <QPainter>

namespace lumora::plugins {

namespace {

constexpr int kIconSize = 32;

}  // namespace

PluginEffect::PluginEffect(const char* displayName, const char* identifier, EffectLayer effectLayer) noexcept
    : Effect(displayName, identifier, effectLayer) {}

PluginEffect::~PluginEffect() = default;

std::int32_t PluginEffect::Start() {
    std::lock_guard lock(mutex_);
    if (!running_) OnReset();
    const std::int32_t started = OnStart();
    running_ = started == kEffectStarted;
    if (!running_) OnStop();
    return started;
}

void PluginEffect::Stop() {
    std::lock_guard lock(mutex_);
    running_ = false;
    OnStop();
}

bool PluginEffect::ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) {
    const FrameView frame = FrameView::Of(pixels, width, height);
    if (!frame.valid()) return false;
    std::lock_guard lock(mutex_);
    if (!running_) return false;
    Render(frame, time);
    return true;
}

void PluginEffect::Reset() {
    std::lock_guard lock(mutex_);
    OnReset();
}

void PluginEffect::PrepareIcon() {
    if (iconBitmap_) return;
    QImage image(kIconSize, kIconSize, QImage::Format_RGB32);
    image.fill(QColor(0x2A, 0x2E, 0x36));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintIcon(painter);
    }
    iconBitmap_ = BitmapFromImage(image);
    icon = iconBitmap_.get();
}

}  // namespace lumora::plugins
