// MainWindow: Lumora's borderless main window, "Lumora". It paints its chrome from the
// applied skin (MainWindowChrome), carries the PreviewWindow and the seven skinned
// buttons, is masked to its rounded outline and is dragged by its caption band (the
// window system's own move where it offers one).
//
// The window decides nothing itself: button clicks, CommandEvents and Lumora's messages
// (MSG_*, except MSG_APPLY_SKIN, which it takes itself) go to its handler, and so does a
// close request, which the window refuses so that the handler can shut down in order.
// Until a handler is set every event gets the default treatment.
//
// Thread: user-interface thread. Lifetime: owns its children; the handler, the skin (see
// skin.h) and the options window are borrowed; the handler must outlive the window or be
// reset to null first.
#pragma once

#include "app/window/main_window_layout.h"
#include "app/window/preview_window.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

namespace lumora {

class ParvelButton;
class Skin;

class MainWindowHandler {
public:
    virtual void OnCommand(int command) = 0;
    // MSG_FRAME_READY, MSG_TRAY_NOTIFY, MSG_GET_FRAME_COPY, MSG_GRAPH_EVENT, MSG_RECONNECT_SOURCE.
    virtual void OnMessage(QEvent& event) = 0;
    virtual void OnCloseRequest() = 0;

protected:
    ~MainWindowHandler() = default;
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr QPoint kStartPosition{50, 50};

    MainWindow();
    ~MainWindow() override;

    void SetHandler(MainWindowHandler* handler) { handler_ = handler; }
    PreviewWindow& Preview() { return *preview_; }
    // The button with command id `command`; null for any other id.
    ParvelButton* Button(int command) const;

    // Places everything for a video of `video` (see MainWindowLayout), sizes the window
    // (its position unchanged), masks it and shows it.
    void Layout(QSize video);

    // The options window, shown and hidden with this one; null: none.
    void SetOptionsWindow(QWidget* options) { options_ = options; }
    // Minimises the window without a tray icon; with one, hides it (and the options
    // window) or shows it again (the options window only when it was visible before).
    void ToggleMainWindow(bool trayPresent);

    const Skin* AppliedSkin() const { return skin_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void MakeButtons();
    void TakeSkin(const Skin& skin);
    bool HandleOwnEvent(QEvent* event);

    MainWindowHandler* handler_ = nullptr;
    PreviewWindow* preview_;
    std::array<ParvelButton*, 7> buttons_{};
    const Skin* skin_ = nullptr;
    QPointer<QWidget> options_;
    bool optionsWasVisible_ = false;
    // A caption drag the window system does not carry out: the press point, or none.
    std::optional<QPoint> manualDrag_;
};

}  // namespace lumora
