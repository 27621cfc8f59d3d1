// XInput: a test's hands and eyes on an X display of its own (Xvfb). It finds the mapped
// top-level windows by title, moves the pointer, clicks and types through the XTEST
// extension (so the program under test receives exactly what a user's mouse and keyboard
// would send), and copies parts of the screen.
//
// Thread: the test's thread. Owns its connection to the display for its lifetime; every
// call flushes and waits for the server, so the input has reached it on return.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <string>
#include <vector>

struct _XDisplay;

namespace lumora::test {

class XInput {
public:
    explicit XInput(const std::string& display);
    ~XInput();
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    // False when the display could not be opened or lacks XTEST.
    bool Ready() const;

    // The mapped top-level windows named `title`, in screen coordinates, bottom-most first;
    // an empty title finds every mapped top-level window (popup menus have none).
    std::vector<QRect> FindWindows(const std::string& title) const;
    // The mapped top-level windows that the window manager is told to leave alone (override
    // redirect): open popup menus, combo-box lists, tooltips; not dialogs.
    std::vector<QRect> FindPopups() const;

    // Moves the pointer to `at` (screen coordinates) and presses and releases `button`
    // (1 left, 3 right) there.
    void Click(QPoint at, int button = 1) const;

    // Presses and releases the key of an X keysym name: "Escape", "Down", "Return", "a".
    void Key(const char* keysymName) const;

    // The screen inside `area` (screen coordinates, cut to the screen); null when the
    // area is empty or the copy failed.
    QImage Grab(QRect area) const;

private:
    std::vector<QRect> Find(const std::string& title, bool popupsOnly) const;

    _XDisplay* display_ = nullptr;
    bool hasTest_ = false;
};

}  // namespace lumora::test
