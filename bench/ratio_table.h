// RatioTable: collects benchmark times and prints how the subject implementation compares
// with its references. Benchmarks are named "<Group>/<impl>/<size>" (anything after a
// third slash is ignored); within one group and size the implementation named kSubject is
// divided by every other one, on real (wall-clock) time and on the benchmark thread's CPU
// time:
//
//   ZImage_Resize 1280x720: 2.10x memcpy (cpu 2.05x), 0.98x OpenCV (cpu 1.90x)
//
// On a busy machine the wall clock also counts the time other processes held the core, so
// a limit registered for a group and reference marks a line only when both ratios exceed
// it, or, for a limit on the wall clock, when the real-time ratio does. (The CPU time
// leaves out helper threads: a reference that runs on several threads, such as OpenCV's,
// looks cheaper by it than it is.) Used on the benchmark thread only.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lumora::bench {

class RatioTable {
public:
    static constexpr const char* kSubject = "lumora";

    // The table of this process: benchmark files set their limits on it while they
    // register, main() fills and prints it.
    static RatioTable& Shared();

    // Records one measurement; names that do not follow the pattern are ignored.
    // Repeated measurements of one name are averaged.
    void Add(const std::string& name, double real_seconds, double cpu_seconds);

    // Lines where subject / reference exceeds `max_ratio` are marked: by default when both
    // ratios do; with kWallClock when the real-time ratio does (for measurements where
    // waiting, not work, is what the limit is about).
    enum class LimitOn { kBoth, kWallClock };
    void SetLimit(const std::string& group, const std::string& reference, double max_ratio,
                  LimitOn on = LimitOn::kBoth);

    // Prints one line per group and size that has a subject and at least one reference.
    void Print(std::ostream& out) const;

private:
    struct Times {
        double real = 0;
        double cpu = 0;
        int count = 0;
    };
    struct Row {
        std::string group;
        std::string size;
        std::vector<std::string> impls;  // in the order first seen
        std::map<std::string, Times> times;
    };

    Row& RowFor(const std::string& group, const std::string& size);
    std::string FormatRow(const Row& row) const;

    std::vector<Row> rows_;
    struct Limit {
        double max_ratio;
        LimitOn on;
    };
    std::map<std::pair<std::string, std::string>, Limit> limits_;
};

}  // namespace lumora::bench
