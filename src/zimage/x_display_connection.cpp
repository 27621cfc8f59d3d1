#include "x_display_connection.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace lumora::zimage {

namespace {

// The connections alive now, so the process-wide handlers can tell ours from others.
std::mutex registry_mutex;
std::vector<XDisplayConnection*> registry;
XErrorHandler previous_error_handler = nullptr;
XIOErrorHandler previous_io_error_handler = nullptr;

XDisplayConnection* Find(Display* display) {
    std::lock_guard lock(registry_mutex);
    const auto it = std::find_if(registry.begin(), registry.end(),
                                 [display](XDisplayConnection* c) { return c->display() == display; });
    return it == registry.end() ? nullptr : *it;
}

}  // namespace

std::unique_ptr<XDisplayConnection> XDisplayConnection::Open(const std::string& name) {
    if (name.empty()) return nullptr;
    InstallHandlers();
    Display* display = XOpenDisplay(name.c_str());
    if (display == nullptr) return nullptr;
    std::unique_ptr<XDisplayConnection> connection(new XDisplayConnection(display, name));
    XSetIOErrorExitHandler(display, &XDisplayConnection::HandleIoErrorExit, connection.get());
    std::lock_guard lock(registry_mutex);
    registry.push_back(connection.get());
    return connection;
}

XDisplayConnection::XDisplayConnection(Display* display, std::string name) noexcept
    : display_(display), name_(std::move(name)) {}

XDisplayConnection::~XDisplayConnection() {
    // Still registered while closing: closing a connection whose server is gone raises one
    // more I/O error, which must land in our handler.
    XCloseDisplay(display_);
    std::lock_guard lock(registry_mutex);
    registry.erase(std::remove(registry.begin(), registry.end(), this), registry.end());
}

bool XDisplayConnection::Sync() noexcept {
    if (broken()) return false;
    XSync(display_, False);
    const bool ok = !failed_ && !broken();
    failed_ = false;
    return ok;
}

void XDisplayConnection::InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        previous_error_handler = XSetErrorHandler(&XDisplayConnection::HandleError);
        previous_io_error_handler = XSetIOErrorHandler(&XDisplayConnection::HandleIoError);
    });
}

int XDisplayConnection::HandleError(Display* display, XErrorEvent* event) {
    if (XDisplayConnection* connection = Find(display)) {
        connection->failed_ = true;
        return 0;
    }
    return previous_error_handler ? previous_error_handler(display, event) : 0;
}

int XDisplayConnection::HandleIoError(Display* display) {
    if (XDisplayConnection* connection = Find(display)) {
        connection->broken_ = true;
        return 0;
    }
    return previous_io_error_handler ? previous_io_error_handler(display) : 0;
}

void XDisplayConnection::HandleIoErrorExit(Display*, void* self) {
    // Returning instead of exiting leaves the connection dead but the process alive.
    static_cast<XDisplayConnection*>(self)->broken_ = true;
}

}  // namespace lumora::zimage
