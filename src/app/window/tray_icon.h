// TrayIcon: Lumora in the desktop's notification area, with the tip "Lumora" and the
// window's icon. It exists only where the desktop has a tray; a left or right click on it
// posts MSG_TRAY_NOTIFY (a TrayNotifyEvent) to the main window, which shows or hides
// itself.
//
// Thread: user-interface thread. Lifetime: owned by the application; the main window is
// borrowed and must outlive the icon (or Remove).
#pragma once

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <functional>
#include <memory>

namespace lumora {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // Answers whether the desktop has a tray; tests put in their own answer.
    using AvailabilityProbe = std::function<bool()>;
    static AvailabilityProbe SetAvailabilityProbe(AvailabilityProbe probe);

    TrayIcon();
    ~TrayIcon() override;

    // Adds the icon when the desktop has a tray; answers whether it is there now.
    bool Add(QWidget* mainWindow);
    // Takes the icon away again; nothing when it was not added.
    void Remove();
    bool Present() const { return icon_ != nullptr; }

private:
    void Activated(QSystemTrayIcon::ActivationReason reason);

    QPointer<QWidget> mainWindow_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace lumora
