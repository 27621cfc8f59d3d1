// ReconnectBackoff: the waits between attempts to reopen a lost device. The first wait is
// `first`, each further one doubles, up to `cap`; Reset() after a success starts over.
// A plain value; one thread at a time.
#pragma once

#include <chrono>

namespace lumora {

class ReconnectBackoff {
public:
    ReconnectBackoff(std::chrono::milliseconds first, std::chrono::milliseconds cap);

    // The wait before the next attempt.
    std::chrono::milliseconds Next();
    void Reset();

private:
    std::chrono::milliseconds first_;
    std::chrono::milliseconds cap_;
    std::chrono::milliseconds next_;
};

}  // namespace lumora
