// ButtonModel: the state of a skinned push button, apart from any widget. The state is
// recomputed from two facts, whether the pointer is inside the button and whether the
// button is pressed: inside and pressed 3, inside 2, pressed outside 4, else 1. While the
// pointer has been seen over the button a hover timer runs; its tick notices that the
// pointer has left (the button gets no message when it does). A press holds until the
// release; a release inside after a press is a click.
//
// Every operation answers whether the button must be repainted. Plain value; one thread.
#pragma once

#include <cstdint>

namespace lumora {

enum class ButtonState : std::int32_t { kNormal = 1, kOver = 2, kPressed = 3, kPressedOutside = 4 };

class ButtonModel {
public:
    // Which of the four pictures shows.
    enum class Face { kNormal, kOver, kPressed, kDisabled };

    struct Release {
        bool repaint = false;
        bool clicked = false;
    };

    ButtonState State() const { return state_; }
    bool Pressed() const { return pressed_; }
    // Whether the hover timer should be running.
    bool HoverTimerRunning() const { return hoverTimer_; }

    // The pointer moved; `inside` says where it is now. Starts the hover timer.
    bool MouseMove(bool inside);
    // The hover timer's tick. While not pressed, a pointer that has left stops the timer
    // and the button returns to rest.
    bool HoverTick(bool inside);
    // The left button went down (ignored while already pressed).
    bool Press(bool inside);
    // The left button went up; `inside` is the release point. A click only after a press.
    Release ReleaseAt(bool inside);
    // The keyboard's press and release (Space): the button looks pressed in between.
    bool KeyPress();
    Release KeyRelease();
    // Forgets a keyboard press without a click (the focus moved on).
    bool DropKeyPress();
    // Forgets a press and the hover, as when the button is disabled or hidden.
    bool Cancel();

    Face FaceFor(bool enabled) const;

private:
    bool Recompute(bool inside);

    bool pressed_ = false;
    bool hoverTimer_ = false;
    bool keyPressed_ = false;
    ButtonState state_ = ButtonState::kNormal;
};

}  // namespace lumora
