#include "platform/termination_signals.h"

#include <QPointer>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>

namespace lumora {
namespace {

// The write end of the active object's pipe, -1 while none is active.
std::atomic<int> gWriteFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads it");

extern "C" void OnTerminationSignal(int number) {
    const int savedErrno = errno;
    const int fd = gWriteFd.load();
    const auto byte = static_cast<unsigned char>(number);
    if (fd >= 0) {
        // A full pipe drops the byte: enough requests are waiting already.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

bool SetHandler(int number, struct sigaction* previous) {
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(number, &action, previous) == 0;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (!Install()) return;
    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Drain);
}

bool TerminationSignals::Install() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    int expected = -1;
    if (!gWriteFd.compare_exchange_strong(expected, fds[1])) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    readFd_ = fds[0];
    writeFd_ = fds[1];
    if (SetHandler(SIGTERM, &previousTerm_) && SetHandler(SIGINT, &previousInt_)) return true;
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    gWriteFd.store(-1);
    ::close(readFd_);
    ::close(writeFd_);
    readFd_ = writeFd_ = -1;
    return false;
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_) return;
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGINT, &previousInt_, nullptr);
    gWriteFd.store(-1);
    delete notifier_;
    ::close(readFd_);
    ::close(writeFd_);
}

void TerminationSignals::Drain() {
    // A receiver may delete this object while it handles a request.
    const QPointer<TerminationSignals> self(this);
    unsigned char numbers[64];
    ssize_t count;
    while ((count = ::read(readFd_, numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count && self; ++i) emit closeRequested(numbers[i]);
        if (!self) return;
    }
}

}  // namespace lumora
