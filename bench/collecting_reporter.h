// CollectingReporter: the usual console output of Google Benchmark, and every finished
// run handed to a RatioTable as well. Lives for one RunSpecifiedBenchmarks call on the
// main thread; borrows the table.
#pragma once

#include "ratio_table.h"

#include <benchmark/benchmark.h>

namespace lumora::bench {

class CollectingReporter : public benchmark::ConsoleReporter {
public:
    explicit CollectingReporter(RatioTable& table) : table_(table) {}

    void ReportRuns(const std::vector<Run>& runs) override;

private:
    RatioTable& table_;
};

}  // namespace lumora::bench
