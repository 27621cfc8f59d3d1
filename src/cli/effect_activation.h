// EffectActivation: switches on, in an EffectChain, the effects `lumora-cli run --effect`
// asked for, with their settings, and finds effects by number, name or identifier.
//
// Thread: user-interface thread, before the source runs (like the effect panels).
#pragma once

#include "cli/effect_request.h"

#include <lumora/effect.h>

#include <string>
#include <vector>

namespace lumora {
class CaptureDeviceList;
class EffectChain;
}

namespace lumora::cli {

class EffectActivation {
public:
    enum class Result { kStarted, kUnknown, kFailed };

    struct Outcome {
        Result result = Result::kStarted;
        std::string text;  // what went wrong, as the user is told
    };

    // `devices` (enumerated) is what a picture-in-picture device number counts in: the
    // list the session handed to the effect.
    static Outcome Activate(EffectChain& chain, const EffectRequest& request, const CaptureDeviceList& devices);

    // Shows or hides the face-tracking outline.
    static void SetLocator(const EffectChain& chain, bool show);

    struct NameMatch {
        EffectId id = 0;                      // 0: none, or more than one
        bool ambiguous = false;               // more than one
        std::vector<std::string> candidates;  // the names that matched, or every name
    };

    // The effect `text` names: the one whose name (any case) or identifier it is, else the
    // only one whose name or one of whose words starts with it ("snow" for "Falling snow").
    // Without an id, `candidates` holds the names that matched when several did, and every
    // effect's name when none did.
    static NameMatch FindByName(const EffectChain& chain, const std::string& text);
};

}  // namespace lumora::cli
