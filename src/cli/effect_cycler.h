// EffectCycler: `lumora-cli run --cycle-effects S`. Every S seconds one effect is switched
// on or off, in the order of the chain: effect 1 on, effect 1 off, effect 2 on, ... through
// every registered effect, plug-ins included, and round again, so that a long run passes
// through each effect's start, frames and stop many times. Picture-in-picture takes its
// inset from capture device 0 and is passed over while there is none. An effect that is
// already on when its turn comes (asked for with --effect) is left as it is.
//
// Each switch gives a line for the run's log:
//   lumora-cli: effect 5 "Falling snow" on
//   lumora-cli: effect 5 "Falling snow" off
//   lumora-cli: effect 3 "Face tracking" not started: Couldn't initialize face detection/tracking library!
//
// Thread: user-interface thread, while the source runs (like the effect panels).
// Lifetime: the chain and the device list must outlive the cycler.
#pragma once

#include "effects/effect_chain.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {
class CaptureDeviceList;
}

namespace lumora::cli {

class EffectCycler {
public:
    EffectCycler(EffectChain& chain, const CaptureDeviceList& devices, double periodSeconds);

    // Takes the steps due `elapsedSeconds` after the run started (at most one per call, so
    // a late call does not switch a burst of effects); the line to log, or none.
    std::optional<std::string> Advance(double elapsedSeconds);

private:
    std::string SwitchOn(EffectId id);
    std::string SwitchOff(EffectId id);
    std::string Describe(EffectId id) const;

    EffectChain& chain_;
    const CaptureDeviceList& devices_;
    double period_;
    std::uint64_t steps_ = 0;
    bool switchedOn_ = false;  // the last "on" step started its effect
};

}  // namespace lumora::cli
