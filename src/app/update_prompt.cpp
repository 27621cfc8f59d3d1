#include "app/update_prompt.h"

#include "app/update_available_event.h"
#include "platform/message_box.h"
#include "platform/url_opener.h"

namespace lumora {
namespace {

constexpr char kCannotOpenSite[] = "Couldn't open Lumora web site!";

}  // namespace

std::string UpdatePrompt::QuestionText(PackedVersion running, PackedVersion server) {
    return "You are using " + running.Text() + " version of the application. There is the newer version " +
           server.Text() +
           " available on the server.\nWould you like to visit Lumora web site to download the latest version?";
}

void UpdatePrompt::Offer(PackedVersion server, const std::string& downloadUrl) {
    const std::string question = QuestionText(kRunningVersion, server);
    if (ShowMessage(owner_, question.c_str(), mb::kYesNo | mb::kIconQuestion) != id::kYes) return;
    if (!UrlOpener::Instance().Open(downloadUrl)) ShowMessage(owner_, kCannotOpenSite, mb::kIconWarning);
}

void UpdatePrompt::customEvent(QEvent* event) {
    if (event->type() != UpdateAvailableEvent::Type()) return QObject::customEvent(event);
    const auto& available = static_cast<const UpdateAvailableEvent&>(*event);
    Offer(available.server(), available.downloadUrl());
}

}  // namespace lumora
