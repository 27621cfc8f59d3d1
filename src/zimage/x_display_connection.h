// XDisplayConnection: one Xlib connection to an X server, kept open between screen copies.
//
// Xlib's default handlers end the process on any protocol error (a bad rectangle) and when
// the server goes away. While a connection exists, process-wide handlers are chained in
// front of whatever handlers were there: errors on our own connections are recorded on the
// connection and swallowed, errors on anyone else's connections go to the previous
// handlers unchanged. A connection whose server went away reports broken() and is then
// only fit to be destroyed.
//
// Threads: Xlib is not made thread-safe here, so one thread at a time uses a connection
// (the owner serialises its calls). Creating and destroying connections may happen on any
// thread.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <memory>
#include <string>

namespace lumora::zimage {

class XDisplayConnection {
public:
    // Connects to `name` (for example ":0"); null when the server cannot be reached.
    static std::unique_ptr<XDisplayConnection> Open(const std::string& name);
    ~XDisplayConnection();
    XDisplayConnection(const XDisplayConnection&) = delete;
    XDisplayConnection& operator=(const XDisplayConnection&) = delete;

    Display* display() const noexcept { return display_; }
    Window root() const noexcept { return DefaultRootWindow(display_); }
    const std::string& name() const noexcept { return name_; }
    bool broken() const noexcept { return broken_.load(); }

    // Waits until the server has handled every request sent so far; answers true when
    // none of them failed since the last call, and forgets the failures.
    bool Sync() noexcept;
    // Forgets errors recorded so far without a round trip.
    void ClearErrors() noexcept { failed_ = false; }

private:
    XDisplayConnection(Display* display, std::string name) noexcept;

    static int HandleError(Display* display, XErrorEvent* event);
    static int HandleIoError(Display* display);
    static void HandleIoErrorExit(Display* display, void* self);
    static void InstallHandlers();

    Display* display_;
    std::string name_;
    std::atomic<bool> broken_{false};
    bool failed_ = false;
};

}  // namespace lumora::zimage
