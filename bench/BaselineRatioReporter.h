#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// The console report, followed by each benchmark's mean CPU time as a multiple of the baseline
// of its group: "<group>/<variant>" against "<group>/baseline". CPU time, because real time
// is noisy on a shared machine.
class BaselineRatioReporter : public benchmark::ConsoleReporter {
public:
    BaselineRatioReporter()
        : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

private:
    struct Timing {
        double seconds = 0;
        int runs = 0;
    };
    std::map<std::string, Timing> timings;
};
