#include "common/stream_clock.h"

#include <cmath>

namespace lumora::plugins {

double StreamClock::Elapsed(double time) noexcept {
    if (!std::isfinite(time)) return 0;
    if (!started_ || time < origin_) {
        origin_ = time;
        started_ = true;
    }
    return time - origin_;
}

}  // namespace lumora::plugins
