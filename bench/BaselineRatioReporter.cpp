#include "BaselineRatioReporter.h"

#include <cstdio>

void BaselineRatioReporter::ReportRuns(const std::vector<Run> &runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.error_occurred)
            continue;
        const double seconds =
            run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        Timing &timing = timings[run.run_name.str()];
        if (run.run_type == Run::RT_Iteration) {
            timing.seconds += seconds;
            ++timing.runs;
        } else if (run.aggregate_name == "mean") {
            timing = {seconds, 1}; // the only figure when only aggregates are reported
        }
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
