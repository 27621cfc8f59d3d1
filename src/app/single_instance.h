// SingleInstance: one Lumora per user. The first copy listens on a local socket; a copy
// started later finds it there, asks it to raise its main window and is told to exit.
//
// The socket is "lumora.socket" in $XDG_RUNTIME_DIR, or, without that folder,
// "instance-<host>.socket" in Lumora's settings folder (the host name keeps machines that
// share a home folder apart). Claim runs under an exclusive lock on "<socket>.lock", so
// of copies started at the same moment exactly one becomes the first. A socket left by a
// copy that crashed (nobody accepts on it) is removed and taken over, not obeyed.
//
// When the socket cannot be set up at all (no folder, a path too long for a socket), the
// copy runs unguarded: starting twice is better than not starting.
//
// Thread: user-interface thread; raiseRequested is emitted there, from the event loop.
// The socket is closed and its file removed when the object is destroyed.
#pragma once

#include <QLocalServer>
#include <QObject>

#include <filesystem>

namespace lumora {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        kFirst,        // this copy runs; it listens unless listening() says otherwise
        kAnotherRuns,  // a running copy was asked to raise its window: exit with code 0
    };

    explicit SingleInstance(std::filesystem::path socketFile, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket of this user's session (see above); empty when neither folder is known.
    static std::filesystem::path DefaultSocketFile();

    // Asks a running copy to raise, or becomes the first. Call once.
    Claim ClaimOrNotify();
    bool listening() const { return server_.isListening(); }

signals:
    // A later copy asked this one to raise and activate its main window.
    void raiseRequested();

private:
    enum class Probe { kAnswered, kNobody, kUnknown };
    Probe NotifyRunningCopy();
    bool Listen();
    void AcceptConnections();

    std::filesystem::path socketFile_;
    QLocalServer server_;
};

}  // namespace lumora
