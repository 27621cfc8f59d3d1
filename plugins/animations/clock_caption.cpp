#include "animations/clock_caption.h"

#include "common/options_form.h"
#include "common/registry_setting.h"

#include <lumora/zimage.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lumora::plugins {

namespace {

constexpr std::int32_t kHeightsPerText = 18;  // text height = frame height / this
constexpr std::int32_t kDarkening = 64;       // the box's colour levels, in 128ths
constexpr Bgr kTextColour{255, 255, 255};

}  // namespace

ClockCaption::ClockCaption() : PluginEffect("Date and time", "78386A5A-F88E-4CDD-B3AB-A751D29FFDF3", kLayerAnimation) {}

std::int32_t ClockCaption::OnStart() {
    glyphs_.Draw();
    textSecond_ = -1;
    return kEffectStarted;
}

void ClockCaption::OnStop() { glyphs_.Clear(); }

void ClockCaption::UpdateText(bool showDate) {
    const std::time_t now = std::time(nullptr);
    if (now == textSecond_ && showDate == textHasDate_) return;
    std::tm local{};
    if (!localtime_r(&now, &local)) return;
    if (showDate) {
        std::snprintf(text_, sizeof text_, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    } else {
        std::snprintf(text_, sizeof text_, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    }
    textSecond_ = now;
    textHasDate_ = showDate;
}

void ClockCaption::Render(const FrameView& frame, double) {
    UpdateText(showDate_.load() != 0);
    glyphs_.ScaleTo(std::max(1, frame.height / kHeightsPerText));
    const std::int32_t cellWidth = glyphs_.cellWidth();
    const std::int32_t cellHeight = glyphs_.cellHeight();
    if (cellHeight < 1) return;

    const auto length = static_cast<std::int32_t>(std::strlen(text_));
    const std::int32_t padding = cellHeight / 4;
    const std::int32_t margin = cellHeight / 2;
    const std::int32_t boxWidth = length * cellWidth + 2 * padding;
    const std::int32_t boxHeight = cellHeight + 2 * padding;
    const std::uint32_t corner = corner_.load();
    const bool right = corner == kBottomRight || corner == kTopRight;
    const bool top = corner == kTopLeft || corner == kTopRight;
    const std::int32_t x = right ? frame.width - margin - boxWidth : margin;
    const std::int32_t y = top ? frame.height - margin - boxHeight : margin;

    ZImage_ColorFilter(frame.pixels, frame.width, frame.height, boxWidth, boxHeight, x, y, kDarkening, kDarkening,
                       kDarkening);
    for (std::int32_t i = 0; i < length; ++i) {
        if (const AlphaMask* glyph = glyphs_.Glyph(text_[i])) {
            glyph->Blend(frame, x + padding + i * cellWidth, y + padding, kTextColour, 255);
        }
    }
}

bool ClockCaption::ShowOptions() {
    OptionsForm form(ownerWindow, "Date and time");
    QComboBox* corner = form.AddChoice(
        "Corner:", QStringList{"Bottom left", "Bottom right", "Top left", "Top right"},
        static_cast<std::int32_t>(corner_.load()));
    QCheckBox* date = form.AddSwitch("Show the date", showDate_.load() != 0);
    if (!form.Run()) return false;
    corner_.store(static_cast<std::uint32_t>(std::clamp(corner->currentIndex(), 0, 3)));
    showDate_.store(date->isChecked() ? 1 : 0);
    return true;
}

void ClockCaption::LoadSettings(HKEY root, const char* path) {
    LoadBoundedSetting(root, path, "Corner", kBottomLeft, kTopRight, corner_);
    LoadBoundedSetting(root, path, "ShowDate", 0, 1, showDate_);
}

void ClockCaption::SaveSettings(HKEY root, const char* path) {
    WriteRegDword(root, path, "Corner", corner_.load());
    WriteRegDword(root, path, "ShowDate", showDate_.load());
}

void ClockCaption::PaintIcon(QPainter& painter) const {
    painter.setPen(QPen(QColor(240, 240, 240), 2));
    painter.setBrush(QColor(60, 70, 90));
    painter.drawEllipse(QPointF(16, 16), 12, 12);
    painter.drawLine(QPointF(16, 16), QPointF(16, 8));
    painter.drawLine(QPointF(16, 16), QPointF(22, 19));
}

}  // namespace lumora::plugins
