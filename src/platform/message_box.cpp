#include "platform/message_box.h"

#include "platform/media_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumora {
namespace {

const char* OrEmpty(const char* text) { return text ? text : ""; }

std::string SystemErrorText(int error) {
    char buffer[256] = {};
    // GNU strerror_r returns the text, which may or may not live in `buffer`.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return text ? text : "";
}

}  // namespace

void SetMessageOwner(QObject* owner) { MessagePresenter::Instance().SetOwner(owner); }

int ShowMessage(QObject* owner, const char* text, unsigned flags) {
    return MessagePresenter::Instance().Present(owner, OrEmpty(text), flags);
}

int ShowAppMessage(const char* text, unsigned flags) {
    return ShowMessage(MessagePresenter::Instance().Owner(), text, flags);
}

int ShowLastErrorMessage(QObject* owner, const char* text, unsigned flags) {
    const int error = errno;
    if (error == 0) return ShowMessage(owner, text, flags);
    const std::string systemText = SystemErrorText(error);
    if (systemText.empty()) return ShowMessage(owner, text, flags);
    const std::string composed =
        ComposeSystemErrorText(text, static_cast<std::uint32_t>(error), systemText);
    return MessagePresenter::Instance().Present(owner, composed, flags);
}

int ShowMediaErrorMessage(const char* text, unsigned flags, HRESULT hr) {
    if (!FAILED(hr)) return ShowAppMessage(text, flags);
    const std::string mediaText = MediaErrorText(hr);
    if (mediaText.empty()) return ShowAppMessage(text, flags);
    const std::string composed =
        ComposeSystemErrorText(text, static_cast<std::uint32_t>(hr), mediaText);
    return MessagePresenter::Instance().Present(MessagePresenter::Instance().Owner(), composed,
                                                flags);
}

std::string ComposeSystemErrorText(const char* text, std::uint32_t code,
                                   const std::string& systemText) {
    std::string composed = OrEmpty(text);
    if (!composed.empty()) composed += "\n\n";
    char line[64];
    std::snprintf(line, sizeof line, "System error message (0x%4.4X):\n", code);
    composed += line;
    composed += systemText;
    return composed;
}

}  // namespace lumora
