#include "x_input.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace lumora::test {
namespace {

QRect ScreenGeometry(Display* display, Window window, bool popupsOnly = false) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return {};
    if (popupsOnly && !attributes.override_redirect) return {};
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return QRect(x, y, attributes.width, attributes.height);
}

std::string WindowName(Display* display, Window window) {
    char* name = nullptr;
    const std::string text = XFetchName(display, window, &name) && name ? name : "";
    if (name) XFree(name);
    return text;
}

// A window can go away between listing it and asking about it (a popup menu closing).
// Xlib's default handler ends the process on that error, skipping every destructor (the
// test's X server and program would live on); here the request simply fails.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

XInput::XInput(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    XSetErrorHandler(&IgnoreError);
    int event = 0, error = 0, major = 0, minor = 0;
    hasTest_ = display_ && XTestQueryExtension(display_, &event, &error, &major, &minor);
}

XInput::~XInput() {
    if (display_) XCloseDisplay(display_);
}

bool XInput::Ready() const { return display_ && hasTest_; }

std::vector<QRect> XInput::FindWindows(const std::string& title) const { return Find(title, false); }

std::vector<QRect> XInput::FindPopups() const { return Find("", true); }

std::vector<QRect> XInput::Find(const std::string& title, bool popupsOnly) const {
    std::vector<QRect> found;
    if (!display_) return found;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) return found;
    for (unsigned i = 0; i < count; ++i) {
        if (!title.empty() && WindowName(display_, children[i]) != title) continue;
        const QRect geometry = ScreenGeometry(display_, children[i], popupsOnly);
        if (!geometry.isEmpty()) found.push_back(geometry);
    }
    if (children) XFree(children);
    return found;
}

void XInput::Click(QPoint at, int button) const {
    if (!Ready()) return;
    XTestFakeMotionEvent(display_, DefaultScreen(display_), at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display_, False);
}

void XInput::Key(const char* keysymName) const {
    if (!Ready()) return;
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysymName));  // 0 for an unknown name
    if (code == 0) return;
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
}

QImage XInput::Grab(QRect area) const {
    if (!display_) return {};
    const int screen = DefaultScreen(display_);
    area &= QRect(0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen));
    if (area.isEmpty()) return {};
    XImage* image =
        XGetImage(display_, DefaultRootWindow(display_), area.x(), area.y(), static_cast<unsigned>(area.width()),
                  static_cast<unsigned>(area.height()), AllPlanes, ZPixmap);
    if (!image) return {};
    QImage copy(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(copy.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            row[x] =
                qRgb(static_cast<int>((pixel & image->red_mask) >> 16),
                     static_cast<int>((pixel & image->green_mask) >> 8), static_cast<int>(pixel & image->blue_mask));
        }
    }
    XDestroyImage(image);
    return copy;
}

}  // namespace lumora::test
