#include "cli/run_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace lumora::cli {
namespace {

// What the handlers read; set on the main thread, read in the handlers.
std::atomic<int> g_signal{0};
std::atomic<RunSignals::Response> g_response{RunSignals::Response::kExitAtOnce};
std::atomic<const char*> g_doing{"starting"};
std::atomic<bool> g_deadlineArmed{false};
std::atomic<int> g_wakeWrite{-1};
std::atomic<timer_t*> g_deadline{nullptr};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<const char*>::is_always_lock_free,
              "the signal handlers need lock-free values");

void WriteText(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0') ++length;
    while (length > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, length);
        if (written <= 0) return;
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

[[noreturn]] void ExitNow(int signal, const char* doing) {
    WriteText("lumora-cli: stopped by ");
    WriteText(RunSignals::Name(signal));
    WriteText(" while ");
    WriteText(doing);
    WriteText("\n");
    ::_exit(RunSignals::ExitCode(signal));
}

void SetDeadline(std::chrono::nanoseconds after) {
    timer_t* timer = g_deadline.load();
    if (timer == nullptr) return;
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(after.count() / 1000000000);
    when.it_value.tv_nsec = static_cast<long>(after.count() % 1000000000);
    timer_settime(*timer, 0, &when, nullptr);
}

extern "C" void OnTermination(int signal) {
    const int savedErrno = errno;
    const bool first = g_signal.exchange(signal) == 0;
    if (!first) ExitNow(signal, "stopping (a second signal)");
    if (g_response.load() == RunSignals::Response::kExitAtOnce) ExitNow(signal, g_doing.load());
    g_deadlineArmed.store(true);
    SetDeadline(RunSignals::kStopDeadline);
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_wakeWrite.load(), &byte, 1);
    errno = savedErrno;
}

extern "C" void OnDeadline(int) {
    if (g_deadlineArmed.load()) ExitNow(g_signal.load(), "stopping (the clean stop took too long)");
}

void Install(int signal, void (*handler)(int), struct sigaction* previous) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocking call returns EINTR
    sigaction(signal, &action, previous);
}

}  // namespace

RunSignals::RunSignals() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = ends[0];
        g_wakeWrite.store(ends[1]);
    }
    sigevent event{};
    event.sigev_notify = SIGEV_SIGNAL;
    event.sigev_signo = SIGALRM;
    haveDeadline_ = timer_create(CLOCK_MONOTONIC, &event, &deadline_) == 0;
    if (haveDeadline_) g_deadline.store(&deadline_);
    g_signal.store(0);
    Answer(Response::kExitAtOnce, "starting");
    Install(SIGALRM, OnDeadline, &previousAlarm_);
    Install(SIGINT, OnTermination, &previousInterrupt_);
    Install(SIGTERM, OnTermination, &previousTerminate_);
    Install(SIGPIPE, SIG_IGN, &previousPipe_);
}

RunSignals::~RunSignals() {
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    sigaction(SIGTERM, &previousTerminate_, nullptr);
    sigaction(SIGPIPE, &previousPipe_, nullptr);
    g_deadlineArmed.store(false);
    g_deadline.store(nullptr);
    if (haveDeadline_) timer_delete(deadline_);
    sigaction(SIGALRM, &previousAlarm_, nullptr);
    if (wakeRead_ >= 0) ::close(wakeRead_);
    if (const int write = g_wakeWrite.exchange(-1); write >= 0) ::close(write);
}

void RunSignals::Answer(Response response, const char* doing) {
    g_doing.store(doing);
    g_response.store(response);
}

void RunSignals::StopFinished() {
    g_deadlineArmed.store(false);
    SetDeadline(std::chrono::nanoseconds::zero());  // disarms
    Answer(Response::kExitAtOnce, "finishing");
}

bool RunSignals::Raised() const { return g_signal.load() != 0; }

int RunSignals::Signal() const { return g_signal.load(); }

const char* RunSignals::Name(int signal) {
    switch (signal) {
        case SIGINT: return "SIGINT";
        case SIGTERM: return "SIGTERM";
        default: return "a signal";
    }
}

}  // namespace lumora::cli
