// ClockCaption ("Date and time"): today's date and the time of day, white on a darkened
// box in a corner of the picture, like the stamp of a camcorder. It shows the wall clock
// (local time), not the stream time, and changes once a second.
//
// Configurable: the corner ("Corner": 0 bottom left, 1 bottom right, 2 top left, 3 top
// right; bottom right at first) and whether the date is shown ("ShowDate", 0 or 1; shown
// at first). The text is about an eighteenth of the frame height.
//
// Threads and lifetime as PluginEffect: Start draws the glyphs (user-interface thread),
// frames only scale them when the height changes. The settings are atomics.
#pragma once

#include "animations/glyph_atlas.h"
#include "common/plugin_effect.h"

#include <atomic>
#include <cstdint>
#include <ctime>

namespace lumora::plugins {

class ClockCaption final : public PluginEffect {
public:
    enum Corner : std::uint32_t { kBottomLeft, kBottomRight, kTopLeft, kTopRight };

    ClockCaption();

    bool ShowOptions() override;
    bool IsConfigurable() override { return true; }
    void LoadSettings(HKEY root, const char* path) override;
    void SaveSettings(HKEY root, const char* path) override;

protected:
    std::int32_t OnStart() override;
    void OnStop() override;
    void Render(const FrameView& frame, double time) override;
    void PaintIcon(QPainter& painter) const override;

private:
    // Fills text_ for the current second; does nothing while the second is the same.
    void UpdateText(bool showDate);

    std::atomic<std::uint32_t> corner_{kBottomRight};
    std::atomic<std::uint32_t> showDate_{1};
    GlyphAtlas glyphs_;
    char text_[80] = {};  // room for any int the fields could hold
    std::time_t textSecond_ = -1;
    bool textHasDate_ = false;
};

}  // namespace lumora::plugins
