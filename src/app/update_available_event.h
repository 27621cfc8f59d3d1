// UpdateAvailableEvent: posted by the update check's worker thread to the object it was
// given, when the web site offers a version newer than the running one. It carries that
// version and the address of the download page. UpdatePrompt handles it.
#pragma once

#include "app/packed_version.h"

#include <QEvent>

#include <string>

namespace lumora {

class UpdateAvailableEvent : public QEvent {
public:
    UpdateAvailableEvent(PackedVersion server, std::string downloadUrl)
            : QEvent(Type()), server_(server), downloadUrl_(std::move(downloadUrl)) {}

    // The event type, registered with Qt once per process.
    static QEvent::Type Type() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    PackedVersion server() const { return server_; }
    const std::string& downloadUrl() const { return downloadUrl_; }

private:
    PackedVersion server_;
    std::string downloadUrl_;
};

}  // namespace lumora
