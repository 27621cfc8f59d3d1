#include "vcam/reconnect_backoff.h"

#include <algorithm>

namespace lumora {

ReconnectBackoff::ReconnectBackoff(std::chrono::milliseconds first, std::chrono::milliseconds cap)
    : first_(std::max(first, std::chrono::milliseconds(1))), cap_(std::max(cap, first_)), next_(first_) {}

std::chrono::milliseconds ReconnectBackoff::Next() {
    const auto wait = next_;
    next_ = std::min(next_ * 2, cap_);
    return wait;
}

void ReconnectBackoff::Reset() { next_ = first_; }

}  // namespace lumora
