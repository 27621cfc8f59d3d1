// lumora-bench: runs every registered benchmark, then prints the ratio table.
//
//   lumora-bench [--cv_threads=N] [Google Benchmark flags...]
//
// --cv_threads sets OpenCV's worker count for the whole run (default: OpenCV's own choice,
// one per core), so kernels that OpenCV parallelises can be compared on one thread too.
#include "collecting_reporter.h"
#include "ratio_table.h"

#include <benchmark/benchmark.h>
#include <opencv2/core/utility.hpp>

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Removes --cv_threads=N from the arguments and applies it.
void ApplyThreadFlag(int& argc, char** argv) {
    const char* prefix = "--cv_threads=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0) {
            cv::setNumThreads(std::atoi(argv[i] + std::strlen(prefix)));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
}

}  // namespace

int main(int argc, char** argv) {
    // The picture benchmarks need Qt's image plug-ins, found through the application; the
    // options window's, widgets.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    ApplyThreadFlag(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::cout << "OpenCV threads: " << cv::getNumThreads() << "\n";

    lumora::bench::RatioTable& table = lumora::bench::RatioTable::Shared();
    lumora::bench::CollectingReporter reporter(table);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    table.Print(std::cout);
    return 0;
}
