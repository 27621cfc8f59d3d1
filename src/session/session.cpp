#include "session/session.h"

#include "effects/picture_in_picture_effect.h"

#include <utility>

namespace lumora {

Session::Session(Setup setup) : setup_(std::move(setup)), effects_(setup_.programFolder, setup_.builtins) {}

Session::~Session() { Shutdown(); }

bool Session::EnumerateDevices() { return devices_.EnumerateCaptureDevices(); }

void Session::Initialize() {
    graph_.Initialize(setup_.preview, setup_.eventTarget);
    if (setup_.eventTarget == nullptr) store_.SetTarget(&frames_);
    store_.SetProcessor(&effects_);
    effects_.LoadEffects();
    if (PictureInPictureEffect* pip = FindPictureInPictureEffect(effects_)) {
        pip->SetCameraCatalogue(&cameras_);
        pip->SetOptionsHost(setup_.pipOptions);
    }
    initialized_ = true;
}

void Session::Shutdown() {
    graph_.Teardown(true, false);
    if (initialized_) effects_.UnloadEffects();
    initialized_ = false;
    link_.Close();
}

}  // namespace lumora
