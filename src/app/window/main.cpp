// lumora: the windowed program.
#include "app/window/application.h"

#include <QApplication>

#include <cstdlib>

namespace {

// On a Wayland desktop with XWayland, Lumora runs as an X client: it places its options
// window beside the main window and copies the desktop through X, neither of which a
// Wayland client may do.
void PreferX11OnWayland() {
    if (std::getenv("QT_QPA_PLATFORM")) return;
    if (std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace

int main(int argc, char** argv) {
    PreferX11OnWayland();
    QApplication qt(argc, argv);
    QApplication::setApplicationName("Lumora");
    QApplication::setDesktopFileName("lumora");
    QApplication::setQuitOnLastWindowClosed(false);
    lumora::Application application;
    return application.Exec();
}
