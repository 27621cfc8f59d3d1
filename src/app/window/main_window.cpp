#include "app/window/main_window.h"

#include "app/window/command_event.h"
#include "app/window/command_ids.h"
#include "platform/app_events.h"
#include "skins/apply_skin_event.h"
#include "skins/main_window_chrome.h"
#include "skins/parvel_button.h"
#include "skins/parvel_codes.h"
#include "skins/skin.h"
#include "skins/skin_drawing.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace lumora {

namespace {

// The buttons in the order they are made, with what screen readers call them.
struct ButtonSpec {
    int command;
    const char* text;
};
constexpr std::array<ButtonSpec, 7> kButtons{{{cmd::kFileButton, "File"},
                                              {cmd::kSourceButton, "Video source"},
                                              {cmd::kVideoOptionsButton, "Video options"},
                                              {cmd::kSkinButton, "Skin"},
                                              {cmd::kMinimize, "Minimize"},
                                              {cmd::kClose, "Close"},
                                              {cmd::kOptionsButton, "Options"}}};

bool IsHandlerMessage(QEvent::Type type) {
    for (AppEvent message :
         {MSG_FRAME_READY, MSG_TRAY_NOTIFY, MSG_GET_FRAME_COPY, MSG_GRAPH_EVENT, MSG_RECONNECT_SOURCE}) {
        if (type == EventType(message)) return true;
    }
    return false;
}

}  // namespace

MainWindow::MainWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("Lumora");
    setWindowTitle("Lumora");
    setAttribute(Qt::WA_OpaquePaintEvent);
    move(kStartPosition);
    // A provisional place until the first layout.
    preview_ = new PreviewWindow(this);
    preview_->setGeometry(10, 10, MainWindowLayout::kFallbackVideo.width(), MainWindowLayout::kFallbackVideo.height());
    MakeButtons();
}

MainWindow::~MainWindow() = default;

void MainWindow::MakeButtons() {
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        auto* button = new ParvelButton(kButtons[i].command, this);
        button->SetText(kButtons[i].text);
        button->setGeometry(0, 0, 1, 1);
        connect(button, &ParvelButton::notified, this, [this](int id, int code) {
            if (code == parvel::kClicked && handler_) handler_->OnCommand(id);
        });
        buttons_[i] = button;
    }
}

ParvelButton* MainWindow::Button(int command) const {
    for (ParvelButton* button : buttons_) {
        if (button->ChildId() == command) return button;
    }
    return nullptr;
}

void MainWindow::Layout(QSize video) {
    const MainWindowLayout layout(video);
    preview_->setGeometry(layout.Preview());
    resize(layout.Window());
    for (ParvelButton* button : buttons_) button->setGeometry(layout.Button(button->ChildId()));
    show();
    SetRoundedWindowRegion(*this);
}

void MainWindow::ToggleMainWindow(bool trayPresent) {
    if (!trayPresent) {
        showMinimized();
        return;
    }
    if (isHidden()) {
        show();
        if (options_) options_->setVisible(optionsWasVisible_);
        raise();
        activateWindow();
        return;
    }
    optionsWasVisible_ = options_ && options_->isVisible();
    hide();
    if (options_) options_->hide();
}

void MainWindow::TakeSkin(const Skin& skin) {
    skin_ = &skin;
    Button(cmd::kFileButton)->SetBitmaps(skin.menu.file);
    Button(cmd::kSourceButton)->SetBitmaps(skin.menu.source);
    Button(cmd::kVideoOptionsButton)->SetBitmaps(skin.menu.options);
    Button(cmd::kSkinButton)->SetBitmaps(skin.menu.skin);
    Button(cmd::kMinimize)->SetBitmaps(skin.mainWindow.minimize);
    Button(cmd::kClose)->SetBitmaps(skin.mainWindow.close);
    Button(cmd::kOptionsButton)->SetBitmaps(skin.showOptions);
    for (ParvelButton* button : buttons_) button->update();
    update();
}

bool MainWindow::HandleOwnEvent(QEvent* event) {
    if (event->type() == EventType(MSG_APPLY_SKIN)) {
        if (const Skin* skin = ApplySkinEvent::SkinOf(event)) TakeSkin(*skin);
        return true;
    }
    if (!handler_) return false;
    if (event->type() == CommandEvent::kType) {
        handler_->OnCommand(static_cast<CommandEvent*>(event)->command());
        return true;
    }
    if (IsHandlerMessage(event->type())) {
        handler_->OnMessage(*event);
        return true;
    }
    return false;
}

bool MainWindow::event(QEvent* event) {
    if (HandleOwnEvent(event)) return true;
    return QWidget::event(event);
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!skin_) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    MainWindowChrome::Paint(painter, rect(), mask(), preview_->geometry(), *skin_);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !MainWindowLayout::InCaption(point, size())) {
        return QWidget::mousePressEvent(event);
    }
    // The window system moves the window where it can (X11, Wayland); elsewhere we do.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    manualDrag_ = point;
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!manualDrag_) return QWidget::mouseMoveEvent(event);
    move(event->globalPosition().toPoint() - *manualDrag_);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) manualDrag_.reset();
    QWidget::mouseReleaseEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!handler_) return QWidget::closeEvent(event);
    // The handler shuts down in its own order and ends the program; the window stays
    // until the application destroys it.
    event->ignore();
    handler_->OnCloseRequest();
}

}  // namespace lumora
