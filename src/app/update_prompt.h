// UpdatePrompt: the user-interface end of the update check. It receives the
// UpdateAvailableEvent the worker posts and asks
//
//     You are using 1.0.0.9 version of the application. There is the newer version
//     1.0.0.10 available on the server.
//     Would you like to visit Lumora web site to download the latest version?
//
// (one line break, before "Would"; Yes/No with the question icon). Yes opens the download
// page through UrlOpener; when no browser starts, it says "Couldn't open Lumora web site!".
//
// Thread: lives on, and is used by, the user-interface thread. The owner window of the
// boxes is held weakly: a destroyed owner reads as none.
#pragma once

#include "app/packed_version.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <string>

namespace lumora {

class UpdatePrompt : public QObject {
    Q_OBJECT
public:
    explicit UpdatePrompt(QWidget* owner, QObject* parent = nullptr) : QObject(parent), owner_(owner) {}

    // Asks about `server` and, on Yes, opens `downloadUrl`.
    void Offer(PackedVersion server, const std::string& downloadUrl);

    static std::string QuestionText(PackedVersion running, PackedVersion server);

protected:
    void customEvent(QEvent* event) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace lumora
