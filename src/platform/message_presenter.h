// The one place that shows message boxes. Every message the program shows passes here,
// so tests (and the headless front end) can take them instead of a dialog.
//
// Thread: user-interface thread only, like every widget. Lifetime: a process-wide
// instance; the owner window is held weakly (a destroyed owner reads as none).
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

namespace lumora {

// Box flags with their Windows values: low nibble the buttons, high nibble the icon.
namespace mb {
constexpr unsigned kOk = 0x00;
constexpr unsigned kOkCancel = 0x01;
constexpr unsigned kYesNoCancel = 0x03;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
}  // namespace mb

// Buttons a box answers with, Windows values.
namespace id {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace id

// One message as it would be shown.
struct MessageRequest {
    QWidget* owner = nullptr;
    std::string caption;
    std::string text;
    unsigned flags = 0;
};

class MessagePresenter {
public:
    // Takes a message instead of showing it and answers with a button id.
    using Hook = std::function<int(const MessageRequest&)>;

    static MessagePresenter& Instance();

    // Shows `text` with the caption "Lumora" and answers the button pressed.
    int Present(QWidget* owner, const std::string& text, unsigned flags);

    // The owner of boxes shown without one (ShowAppMessage, ShowMediaErrorMessage).
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QWidget* Owner() const { return owner_; }

    // Installs a hook that takes every message instead of a dialog; an empty hook restores
    // the dialogs. Returns the hook it replaced.
    Hook SetHook(Hook hook);

private:
    MessagePresenter() = default;
    int ShowDialog(const MessageRequest& request);

    QPointer<QWidget> owner_;
    Hook hook_;
};

}  // namespace lumora
