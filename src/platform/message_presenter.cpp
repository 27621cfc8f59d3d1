#include "platform/message_presenter.h"

#include <cstdio>

namespace lumora {
namespace {

constexpr const char* kCaption = "Lumora";

}  // namespace

MessagePresenter& MessagePresenter::Instance() {
    static MessagePresenter presenter;
    return presenter;
}

int MessagePresenter::Present(QObject* owner, const std::string& text, unsigned flags) {
    MessageRequest request{owner, kCaption, text, flags};
    if (hook_) return hook_(request);
    if (display_) return display_(request);
    return WriteToStandardError(request);
}

MessagePresenter::Hook MessagePresenter::SetHook(Hook hook) {
    Hook previous = std::move(hook_);
    hook_ = std::move(hook);
    return previous;
}

MessagePresenter::Display MessagePresenter::SetDisplay(Display display) {
    Display previous = std::move(display_);
    display_ = std::move(display);
    return previous;
}

// Nobody can answer: a question is declined, anything else acknowledged.
int MessagePresenter::WriteToStandardError(const MessageRequest& request) {
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    switch (request.flags & 0x0F) {
        case mb::kOkCancel:
        case mb::kYesNoCancel: return id::kCancel;
        case mb::kYesNo: return id::kNo;
        default: return id::kOk;
    }
}

}  // namespace lumora
