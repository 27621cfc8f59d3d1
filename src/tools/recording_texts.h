// The recording dialog's two running figures: the elapsed time as "hh:mm:ss" (hours not
// wrapped) and the recorded size as "1023 bytes", "1.00 KB" or "1.50 MB" (MB from
// 1,048,576 bytes on, however large).
//
// Pure functions; any thread.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

std::string ElapsedTimeText(std::int64_t seconds);
std::string RecordedSizeText(std::uint64_t bytes);

}  // namespace lumora
