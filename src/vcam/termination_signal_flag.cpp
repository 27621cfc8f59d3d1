#include "vcam/termination_signal_flag.h"

#include <atomic>

namespace lumora {
namespace {

std::atomic<int> g_signal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void RecordTerminationSignal(int signal) { g_signal.store(signal, std::memory_order_relaxed); }

}  // namespace

TerminationSignalFlag::TerminationSignalFlag() {
    g_signal.store(0);
    struct sigaction action {};
    action.sa_handler = RecordTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, &previousInterrupt_);
    sigaction(SIGTERM, &action, &previousTerminate_);
}

TerminationSignalFlag::~TerminationSignalFlag() {
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    sigaction(SIGTERM, &previousTerminate_, nullptr);
}

bool TerminationSignalFlag::Raised() const { return g_signal.load(std::memory_order_relaxed) != 0; }

int TerminationSignalFlag::Signal() const { return g_signal.load(std::memory_order_relaxed); }

}  // namespace lumora
