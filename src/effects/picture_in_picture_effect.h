// PictureInPictureEffect: built-in effect "Picture - in - picture" (layer 2). Shows the
// picture of a second camera as a small inset in a corner of the main picture, with a
// one-pixel border. The second camera runs in a pipeline of its own (PipCaptureGraph),
// whose frames are scaled to the inset size as they arrive; every main frame gets the
// latest of them. Until the first one arrives (and after the camera is lost) a dark box
// stands where the inset will be.
//
// Sizes: the inset box is `size` percent of the main frame in each direction; with
// "maintain proportions" the inset keeps the camera's aspect ratio inside that box. It
// sits `margin` pixels (plus one for the border) from the edges of its corner.
//
// Settings: the options dialog (asked for through the PipOptionsHost) edits the seven
// values of PipSettings; six of them are kept between runs (the device is chosen again
// after every start of the program), see LoadSettings. The second camera is one of the
// CameraCatalogue's.
//
// Threads: ProcessFrame on the main streaming thread waits for the lock; the second
// camera's frames arrive on its own streaming thread and only try the lock (a frame is
// dropped while it is held); Start, Stop, the dialog and the setters run on the user-
// interface thread. The lock covers the inset and all sizes and settings.
//
// Lifetime: the catalogue and the options host are borrowed; the catalogue must outlive the
// effect's running, the host every Start and ShowOptions.
#pragma once

#include "effects/pip_capture_graph.h"
#include "effects/pip_settings.h"

#include <lumora/effect.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace lumora {

class CameraCatalogue;
class PipOptionsHost;

class PictureInPictureEffect final : public Effect {
public:
    static constexpr std::uint32_t kDarkBoxColour = 16;

    PictureInPictureEffect() noexcept;
    ~PictureInPictureEffect();

    // Without a chosen device, asks for one with the options dialog first (Cancel, or no
    // options host: kEffectCancelled). kEffectFailed when the camera cannot be opened or run.
    std::int32_t Start() override;
    void Stop() override;
    bool ProcessFrame(std::uint8_t* pixels, std::int32_t width, std::int32_t height, double time) override;
    // Starts again: the second pipeline is rebuilt.
    void Reset() override;
    // The options dialog; false on Cancel or without an options host.
    bool ShowOptions() override;
    bool IsConfigurable() override { return true; }
    // "WindowPosition" (1 to 4), "Margin" (0 to 100), "WindowSize" (5 to 50),
    // "MaintainProportions", "DrawBorder" and "BorderColor"; a value that is missing or
    // outside its range keeps the current one.
    void LoadSettings(HKEY root, const char* path) override;
    void SaveSettings(HKEY root, const char* path) override;

    // The cameras the device index points into (null: no device opens).
    void SetCameraCatalogue(const CameraCatalogue* cameras) noexcept;
    // What shows the options dialog (null: none can be shown).
    void SetOptionsHost(PipOptionsHost* host) noexcept;
    PipSettings settings();
    // Takes settings made elsewhere (the command line); false, changing nothing, when one
    // is out of range. A running effect shows the new sizes with the next camera frame and
    // uses a new device only from the next Start.
    bool SetSettings(const PipSettings& settings);

    bool IsRunning();
    // The second camera's pipeline while it runs, or null (for diagnostics and tests).
    GstElement* SecondPipeline() const noexcept { return graph_.pipeline(); }

private:
    // On the second camera's streaming thread: scales the frame (rows top-down) into the inset.
    void OnCameraFrame(const std::uint8_t* rows, std::size_t stride, std::int32_t width, std::int32_t height);
    // Runs the options dialog on `settings`; true (and `settings` changed) on OK.
    bool EditOptions(PipSettings& settings);
    void ReleaseInset();  // under the lock

    std::mutex lock_;
    PipSettings settings_;
    const CameraCatalogue* cameras_ = nullptr;
    PipOptionsHost* optionsHost_ = nullptr;
    PipCustomColours customColours_;
    std::vector<std::uint8_t> inset_;  // bottom-up rows; empty: no camera frame yet
    std::int32_t mainWidth_ = 0;
    std::int32_t mainHeight_ = 0;
    std::int32_t insetWidth_ = 0;
    std::int32_t insetHeight_ = 0;
    bool running_ = false;
    std::atomic<bool> cameraLost_{false};
    PipCaptureGraph graph_;
};

}  // namespace lumora
