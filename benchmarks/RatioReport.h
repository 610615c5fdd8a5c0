#pragma once

// A main for the benchmarks that, after the usual table, prints the ratios the
// program's goals are stated in: each measured time against a baseline measured in
// the same run, so that a shared machine's speed cancels out.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tormel::bench {

// Keeps the time per iteration of every run beside printing it.
class RecordingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                Seconds[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Seconds per iteration by benchmark name ("BM_Save/100000").
    std::map<std::string, double> Seconds;
};

// Runs the benchmarks, then prints the ratios that printRatios computes.
inline int RunWithRatios(int argc,
                         char **argv,
                         const std::function<void(const std::map<std::string, double> &)> &ratios)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    ratios(reporter.Seconds);
    benchmark::Shutdown();
    return 0;
}

// "name: 1.23 x baseline" when both were measured.
inline void PrintRatio(const std::map<std::string, double> &seconds,
                       const std::string &label,
                       const std::string &measured,
                       const std::string &baseline)
{
    const auto m = seconds.find(measured);
    const auto b = seconds.find(baseline);
    if (m == seconds.end() || b == seconds.end() || b->second <= 0)
        return;
    std::printf("%-48s %6.2f\n", label.c_str(), m->second / b->second);
}

} // namespace tormel::bench
