// TerminationSignals: SIGTERM and SIGINT (a session ending, `kill`, Ctrl+C in a terminal)
// become a request to close, delivered as a Qt signal on the user-interface thread, so the
// program can shut down in its own order and exit with code 0 instead of dying mid-frame.
//
// The signal handler only writes the signal's number into a pipe (async-signal-safe);
// a QSocketNotifier on the pipe's other end emits closeRequested. Every signal that
// arrives is one closeRequested; the receiver decides what a second one means.
//
// Only one object may be active in a process at a time; a second one stays inactive and
// changes nothing. Thread: create, use and destroy it on the user-interface thread. The
// dispositions the signals had before are put back on destruction.
#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

namespace lumora {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or a handler could not be set up, or another object is active.
    bool active() const { return notifier_ != nullptr; }

signals:
    // `signalNumber` is SIGTERM or SIGINT.
    void closeRequested(int signalNumber);

private:
    bool Install();
    void Drain();

    int readFd_ = -1;
    int writeFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previousTerm_ {};
    struct sigaction previousInt_ {};
};

}  // namespace lumora
