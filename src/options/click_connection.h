// OnClick: runs `action` on every click of a skinned button or check box (its
// parvel::kClicked notice), for as long as `context` and the control live.
// User-interface thread.
#pragma once

#include "skins/parvel_codes.h"

#include <QObject>

#include <utility>

namespace lumora {

template <class Control, class Action>
void OnClick(Control& control, QObject* context, Action action) {
    QObject::connect(&control, &Control::notified, context, [action = std::move(action)](int, int code) {
        if (code == parvel::kClicked) action();
    });
}

}  // namespace lumora
