// The one place that shows message boxes. Every message the program shows passes here,
// so tests (and the headless front end) can take them instead of a dialog.
//
// A message goes to the hook when one is installed, else to the display (the windowed
// program installs the real boxes, see message_box_dialog.h); with neither it is written
// to stderr and answered as a box closed without a choice would be: Cancel where the box
// has it, No for Yes/No, else OK. The presenter itself needs only Qt Core, so the media
// layers report through it without the widgets.
//
// Thread: user-interface thread only, like every widget. Lifetime: a process-wide
// instance; the owner window is held weakly (a destroyed owner reads as none).
#pragma once

#include <QObject>
#include <QPointer>

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
    QObject* owner = nullptr;  // the owner window (a QWidget), or null
    std::string caption;
    std::string text;
    unsigned flags = 0;
};

class MessagePresenter {
public:
    // Takes a message instead of showing it and answers with a button id.
    using Hook = std::function<int(const MessageRequest&)>;
    // Shows a message to the user and answers the button pressed.
    using Display = std::function<int(const MessageRequest&)>;

    static MessagePresenter& Instance();

    // Shows `text` with the caption "Lumora" and answers the button pressed.
    int Present(QObject* owner, const std::string& text, unsigned flags);

    // The owner of boxes shown without one (ShowAppMessage, ShowMediaErrorMessage).
    void SetOwner(QObject* owner) { owner_ = owner; }
    QObject* Owner() const { return owner_; }

    // What shows the messages no hook takes; empty: stderr. Returns the one it replaced.
    Display SetDisplay(Display display);

    // Installs a hook that takes every message instead of a dialog; an empty hook restores
    // the dialogs. Returns the hook it replaced.
    Hook SetHook(Hook hook);

private:
    MessagePresenter() = default;
    static int WriteToStandardError(const MessageRequest& request);

    QPointer<QObject> owner_;
    Hook hook_;
    Display display_;
};

}  // namespace lumora
