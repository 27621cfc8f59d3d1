// TerminationSignalFlag: lets a front end shut the virtual camera down cleanly (STREAMOFF,
// close) on SIGINT or SIGTERM. While an instance lives, both signals only set a flag
// (nothing else happens inside the handler); the front end polls Raised() and closes its
// adapter itself. Blocking reads and waits are interrupted (no SA_RESTART), so a loop
// blocked on a FIFO sees EINTR and can look at the flag.
//
// One instance per process at a time; create and destroy it on the main thread. The
// previous handlers come back on destruction.
#pragma once

#include <csignal>

namespace lumora {

class TerminationSignalFlag {
public:
    TerminationSignalFlag();
    ~TerminationSignalFlag();
    TerminationSignalFlag(const TerminationSignalFlag&) = delete;
    TerminationSignalFlag& operator=(const TerminationSignalFlag&) = delete;

    bool Raised() const;
    // The signal that arrived (SIGINT or SIGTERM), 0 while none has.
    int Signal() const;

private:
    struct sigaction previousInterrupt_ {};
    struct sigaction previousTerminate_ {};
};

}  // namespace lumora
