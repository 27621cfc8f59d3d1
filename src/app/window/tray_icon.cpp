#include "app/window/tray_icon.h"

#include "app/window/tray_notify_event.h"

#include <QCoreApplication>

namespace lumora {

namespace {

TrayIcon::AvailabilityProbe& Probe() {
    static TrayIcon::AvailabilityProbe probe;
    return probe;
}

bool TrayAvailable() { return Probe() ? Probe()() : QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace

TrayIcon::AvailabilityProbe TrayIcon::SetAvailabilityProbe(AvailabilityProbe probe) {
    return std::exchange(Probe(), std::move(probe));
}

TrayIcon::TrayIcon() = default;

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Add(QWidget* mainWindow) {
    if (icon_ || !mainWindow || !TrayAvailable()) return Present();
    mainWindow_ = mainWindow;
    icon_ = std::make_unique<QSystemTrayIcon>(mainWindow->windowIcon());
    icon_->setToolTip("Lumora");
    connect(icon_.get(), &QSystemTrayIcon::activated, this, &TrayIcon::Activated);
    icon_->show();
    return true;
}

void TrayIcon::Remove() {
    if (!icon_) return;
    icon_->hide();
    icon_.reset();
}

void TrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (!mainWindow_) return;
    if (reason == QSystemTrayIcon::Trigger) {
        QCoreApplication::postEvent(mainWindow_, new TrayNotifyEvent(Qt::LeftButton));
    } else if (reason == QSystemTrayIcon::Context) {
        QCoreApplication::postEvent(mainWindow_, new TrayNotifyEvent(Qt::RightButton));
    }
}

}  // namespace lumora
