// ZoomControl: the zoom panel's rules over the effect chain, apart from its widgets, and
// the zoom value the panel shows (1/256 units, 256 is 1.0x).
//
// The buttons act on the face-following zoom while face tracking is on, else on the
// manual zoom:
// - face tracking on: the amount (6 little, 7 medium, 8 big, 9 biggest) goes one down or
//   up within 6 to 9, or back to 9; the value shown is amount x 256 / 10.
// - manual zoom: the factor goes 16 up or down; reaching 1.0x switches the zoom off, and
//   the factor stops at 4.0x (1024). Back to the start switches it off.
// Switching face tracking off also ends a manual zoom.
//
// The chain is borrowed and must outlive the control. The effects' settings are atomics
// (or taken under their locks by Start); the control runs on the user-interface thread.
#pragma once

#include "effects/effect_chain.h"

#include <QString>

#include <cstdint>

namespace lumora {

class FaceTrackingEffect;

class ZoomControl {
public:
    static constexpr std::int32_t kShownAtRest = 256;

    struct FaceSwitch {
        bool active = false;  // face tracking is on now
        bool failed = false;  // it was to start and did not
    };

    explicit ZoomControl(EffectChain& chain) : chain_(chain) {}

    std::int32_t Shown() const { return shown_; }
    bool FaceTrackingActive() const;
    // +1 zooms in, -1 out, 0 returns to the start (biggest for the face-following zoom).
    void Step(int direction);
    // The default button: the face-following zoom's biggest amount, or no manual zoom.
    void Default();
    FaceSwitch ToggleFaceTracking();
    void SetShowLocator(bool show);
    // "Zoom: x1.00"; while face tracking is on and its check box checked, "Zoom: big".
    QString Text(bool faceChecked) const;

private:
    // The running face-tracking effect, or null while it is off.
    FaceTrackingEffect* ActiveFace() const;
    void StepFace(FaceTrackingEffect& face, int direction);
    void StepManual(int direction);
    void ShowFaceAmount(const FaceTrackingEffect& face);
    void EndManualZoom();

    EffectChain& chain_;
    std::int32_t shown_ = kShownAtRest;
};

}  // namespace lumora
