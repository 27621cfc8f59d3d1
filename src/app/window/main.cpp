// lumora: the windowed program.
#include "app/window/application.h"
#include "platform/message_box_dialog.h"

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
    // Questions and errors are real message boxes here; without this they would only be
    // written to stderr and every question answered No.
    lumora::InstallMessageBoxDialogs();
    lumora::Application application;
    return application.Exec();
}
