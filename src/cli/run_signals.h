// RunSignals: what SIGINT and SIGTERM do to `lumora-cli run`, so that a signal ends the run
// within a second whatever it is doing.
//
//   kExitAtOnce    while the run cannot stop cleanly — starting (reading the settings and a
//                  playlist, waiting for a FIFO's peer, building the source) or starting the
//                  next file: the handler writes "lumora-cli: stopped by SIGINT while <doing>"
//                  and ends the process at once with 128 + the signal's number (130 for
//                  SIGINT, 143 for SIGTERM).
//   kStopCleanly   while streaming: the first signal only raises the flag and makes
//                  WakeDescriptor() readable; the event loop then stops the run cleanly
//                  (recording finished, summary written). A second signal, or a clean stop
//                  still going kStopDeadline after the first, ends the process at once as above.
//
// SIGPIPE is ignored meanwhile: a FIFO whose reader went away fails the write (EPIPE) instead.
// The handlers only use async-signal-safe calls (atomics, write, timer_settime, _exit).
//
// One instance per process, made on the main thread before the run starts and destroyed
// after it; the previous handlers come back on destruction.
#pragma once

#include <chrono>
#include <csignal>
#include <ctime>

namespace lumora::cli {

class RunSignals {
public:
    enum class Response { kExitAtOnce, kStopCleanly };

    static constexpr std::chrono::milliseconds kStopDeadline{800};

    // Starts answering kExitAtOnce, "starting".
    RunSignals();
    ~RunSignals();
    RunSignals(const RunSignals&) = delete;
    RunSignals& operator=(const RunSignals&) = delete;

    // How signals are answered from now on. `doing` (a string literal) ends the line of a
    // prompt exit.
    void Answer(Response response, const char* doing);

    // The clean stop is over: no deadline any more, and a further signal exits at once.
    void StopFinished();

    bool Raised() const;
    // The signal that arrived (SIGINT or SIGTERM), 0 while none has.
    int Signal() const;
    // Readable once a signal has arrived while stopping cleanly (for a QSocketNotifier).
    int WakeDescriptor() const { return wakeRead_; }

    static int ExitCode(int signal) { return 128 + signal; }
    static const char* Name(int signal);

private:
    int wakeRead_ = -1;
    timer_t deadline_{};
    bool haveDeadline_ = false;
    struct sigaction previousInterrupt_ {};
    struct sigaction previousTerminate_ {};
    struct sigaction previousAlarm_ {};
    struct sigaction previousPipe_ {};
};

}  // namespace lumora::cli
