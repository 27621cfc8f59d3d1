#include "skins/button_model.h"

namespace lumora {

bool ButtonModel::Recompute(bool inside) {
    const ButtonState before = state_;
    if (inside) {
        state_ = pressed_ ? ButtonState::kPressed : ButtonState::kOver;
    } else {
        state_ = pressed_ ? ButtonState::kPressedOutside : ButtonState::kNormal;
    }
    return state_ != before;
}

bool ButtonModel::MouseMove(bool inside) {
    hoverTimer_ = true;
    return Recompute(inside);
}

bool ButtonModel::HoverTick(bool inside) {
    if (pressed_ || !hoverTimer_ || inside) return false;
    hoverTimer_ = false;
    return Recompute(inside);
}

bool ButtonModel::Press(bool inside) {
    if (pressed_) return false;
    pressed_ = true;
    Recompute(inside);
    return true;
}

ButtonModel::Release ButtonModel::ReleaseAt(bool inside) {
    if (!pressed_) return {};
    pressed_ = false;
    Recompute(inside);
    return {true, inside};
}

bool ButtonModel::KeyPress() {
    if (keyPressed_) return false;
    keyPressed_ = true;
    return true;
}

ButtonModel::Release ButtonModel::KeyRelease() {
    if (!keyPressed_) return {};
    keyPressed_ = false;
    return {true, true};
}

bool ButtonModel::DropKeyPress() {
    const bool changed = keyPressed_;
    keyPressed_ = false;
    return changed;
}

bool ButtonModel::Cancel() {
    const bool changed = pressed_ || keyPressed_ || hoverTimer_ || state_ != ButtonState::kNormal;
    pressed_ = false;
    keyPressed_ = false;
    hoverTimer_ = false;
    state_ = ButtonState::kNormal;
    return changed;
}

ButtonModel::Face ButtonModel::FaceFor(bool enabled) const {
    if (!enabled) return Face::kDisabled;
    if (keyPressed_) return Face::kPressed;
    switch (state_) {
        case ButtonState::kNormal: return Face::kNormal;
        case ButtonState::kPressed: return Face::kPressed;
        case ButtonState::kOver:
        case ButtonState::kPressedOutside: return Face::kOver;
    }
    return Face::kNormal;
}

}  // namespace lumora
