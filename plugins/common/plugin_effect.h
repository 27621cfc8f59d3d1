// PluginEffect: what every effect bundled with Lumora shares on top of lumora::Effect: its
// 32 x 32 icon, whether it runs, and the lock between the streaming thread and the
// user-interface thread.
//
// Threads: Start, Stop and Reset run on the user-interface thread and ProcessFrame on the
// streaming thread, at the same time. All four take the effect's lock, so the hooks below
// (OnStart, OnStop, OnReset, Render) never overlap and may share state freely without
// further locking. Settings that an options dialog changes while frames run are kept in
// std::atomic by the derived classes. Start holds the lock while OnStart prepares, which
// may delay one frame by the time it takes to load a picture.
//
// Running: ProcessFrame only renders between Start and Stop, so the extra frame the host
// may send just after Stop leaves the picture alone. Starting an effect that was stopped
// also resets it; a Start on a running effect (its settings changed) does not.
//
// Lifetime: the bundled effects are static objects of their module; the icon is drawn by
// PrepareIcon and lives as long as the effect.
#pragma once

#include "common/frame_view.h"

#include <lumora/bitmap.h>
#include <lumora/effect.h>

#include <cstdint>
#include <memory>
#include <mutex>

class QPainter;

namespace lumora::plugins {

class PluginEffect : public Effect {
public:
    std::int32_t Start() final;
    void Stop() final;
    bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) final;
    void Reset() final;

    // Draws the icon the first time it is called and sets `icon`. User-interface thread,
    // before the effect is handed to the host.
    void PrepareIcon();

protected:
    PluginEffect(const char* displayName, const char* identifier, EffectLayer effectLayer) noexcept;
    ~PluginEffect();

    // The hooks, each called with the lock held (see above).
    // Prepares the run; kEffectFailed when something it needs is missing.
    virtual std::int32_t OnStart() { return kEffectStarted; }
    // Releases what OnStart and Render built.
    virtual void OnStop() {}
    // Forgets the stream so far.
    virtual void OnReset() {}
    // Changes one valid frame in place; `time` is the stream time in seconds.
    virtual void Render(const FrameView& frame, double time) = 0;
    // Paints the icon onto a 32 x 32 dark tile, y downwards (Qt's way).
    virtual void PaintIcon(QPainter& painter) const = 0;

private:
    std::mutex mutex_;
    bool running_ = false;
    std::unique_ptr<Bitmap> iconBitmap_;
};

}  // namespace lumora::plugins
