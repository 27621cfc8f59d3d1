#include "cli/progress_report.h"

#include <cstdio>

namespace lumora::cli {
namespace {

double Rate(std::uint64_t frames, double seconds) { return seconds > 0 ? static_cast<double>(frames) / seconds : 0.0; }

}  // namespace

std::string ProgressReport::Tick(std::uint64_t frames, std::uint64_t dropped, double seconds) {
    char line[160];
    std::snprintf(line, sizeof line, "lumora-cli: %llu frames, %.1f fps, %llu dropped",
                  static_cast<unsigned long long>(frames), Rate(frames - lastFrames_, seconds),
                  static_cast<unsigned long long>(dropped));
    lastFrames_ = frames;
    return line;
}

std::string ProgressReport::Summary(std::uint64_t frames, std::uint64_t dropped, double seconds) {
    char line[160];
    std::snprintf(line, sizeof line, "lumora-cli: done: %llu frames in %.2f s (%.1f fps), %llu dropped",
                  static_cast<unsigned long long>(frames), seconds, Rate(frames, seconds),
                  static_cast<unsigned long long>(dropped));
    return line;
}

}  // namespace lumora::cli
