#include "effects/pip_settings.h"

namespace lumora {
namespace {

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

}  // namespace

bool PipSettings::IsValid() const noexcept {
    return InRange(position, kPipTopLeft, kPipBottomRight) && InRange(margin, kMinMargin, kMaxMargin) &&
           InRange(size, kMinSize, kMaxSize) && deviceIndex >= -1;
}

}  // namespace lumora
