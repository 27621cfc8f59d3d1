#include "platform/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace lumora {

UrlOpener& UrlOpener::Instance() {
    static UrlOpener opener;
    return opener;
}

bool UrlOpener::Open(const std::string& url) {
    if (hook_) return hook_(url);
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    return address.isValid() && QDesktopServices::openUrl(address);
}

UrlOpener::Hook UrlOpener::SetHook(Hook hook) {
    Hook previous = std::move(hook_);
    hook_ = std::move(hook);
    return previous;
}

}  // namespace lumora
