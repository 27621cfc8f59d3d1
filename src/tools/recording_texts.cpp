#include "tools/recording_texts.h"

#include <cinttypes>
#include <cstdio>

namespace lumora {

std::string ElapsedTimeText(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%2.2" PRId64 ":%2.2" PRId64 ":%2.2" PRId64, seconds / 3600, (seconds % 3600) / 60,
                  seconds % 60);
    return text;
}

std::string RecordedSizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kKilo = 1024;
    constexpr std::uint64_t kMega = 1024 * 1024;
    char text[48];
    if (bytes >= kMega) {
        std::snprintf(text, sizeof text, "%.2f %s", static_cast<double>(bytes) / kMega, "MB");
    } else if (bytes >= kKilo) {
        std::snprintf(text, sizeof text, "%.2f %s", static_cast<double>(bytes) / kKilo, "KB");
    } else {
        std::snprintf(text, sizeof text, "%" PRIu64 " %s", bytes, "bytes");
    }
    return text;
}

}  // namespace lumora
