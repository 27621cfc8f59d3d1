#include "collecting_reporter.h"

namespace lumora::bench {

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        // Plain iteration runs only: with repetitions, the table averages them itself.
        if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
        const double per_second = benchmark::GetTimeUnitMultiplier(run.time_unit);
        table_.Add(run.benchmark_name(), run.GetAdjustedRealTime() / per_second,
                   run.GetAdjustedCPUTime() / per_second);
    }
    ConsoleReporter::ReportRuns(runs);
}

}  // namespace lumora::bench
