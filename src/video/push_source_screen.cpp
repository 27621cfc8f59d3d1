#include "video/push_source_screen.h"

#include <cstdlib>

// Xlib last: its macros (None, Status, Bool, ...) stay out of everything above.
#include <X11/Xlib.h>

namespace lumora {
namespace {

constexpr ZImageRect kNoScreen{0, 0, 640, 480};

}  // namespace

ZImageRect ReadDesktopScreenRect() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return kNoScreen;

    ZImageRect rect = kNoScreen;
    if (Display* display = XOpenDisplay(name)) {
        const int screen = DefaultScreen(display);
        const int width = DisplayWidth(display, screen);
        const int height = DisplayHeight(display, screen);
        if (width > 0 && height > 0) rect = {0, 0, width, height};
        XCloseDisplay(display);
    }
    return rect;
}

}  // namespace lumora
