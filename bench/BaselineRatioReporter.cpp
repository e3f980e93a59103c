#include "BaselineRatioReporter.h"

#include <cstdio>

void BaselineRatioReporter::ReportRuns(const std::vector<Run> &runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration)
            continue;
        Timing &timing = timings[run.benchmark_name()];
        timing.seconds +=
            run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ++timing.runs;
    }
}

void BaselineRatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    for (const auto &[name, timing] : timings) {
        const auto slash = name.find('/');
        if (slash == std::string::npos ||
            name.compare(slash + 1, std::string::npos, "baseline") == 0)
            continue;
        const auto baseline = timings.find(name.substr(0, slash) + "/baseline");
        if (baseline == timings.end())
            continue;
        const double ratio =
            (timing.seconds / timing.runs) / (baseline->second.seconds / baseline->second.runs);
        std::printf("%-50s %6.2fx baseline\n", name.c_str(), ratio);
    }
}
