#include "bench/GoalTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace bench {

namespace {

// The console output, keeping the median real time of every benchmark in milliseconds.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) *
                    1e3;
    }
    std::map<std::string, double> medians;
};

} // namespace

void RunBenchmarksWithGoals(int argc, char **argv, const std::vector<Goal> &goals)
{
    // Defaults first: the command line may override them.
    std::vector<char *> arguments{argv[0]};
    char repetitions[] = "--benchmark_repetitions=5";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    arguments.push_back(repetitions);
    arguments.push_back(aggregates);
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-58s %10s %10s %7s %7s\n", "goal (median times)", "ms", "ref. ms", "ratio",
                "limit");
    for (const Goal &goal : goals) {
        const auto found = reporter.medians.find(goal.measured);
        double reference = 0;
        bool complete = found != reporter.medians.end();
        for (const std::string &name : goal.references) {
            const auto ref = reporter.medians.find(name);
            complete = complete && ref != reporter.medians.end();
            if (ref != reporter.medians.end())
                reference += ref->second;
        }
        if (!complete) {
            std::printf("%-58s %10s\n", goal.title.c_str(), "not run");
            continue;
        }
        if (goal.references.empty()) {
            std::printf("%-58s %10.1f %10s %7s %7.0f %s\n", goal.title.c_str(), found->second, "-",
                        "-", goal.limit, found->second <= goal.limit ? "met" : "MISSED");
            continue;
        }
        const double ratio = found->second / reference;
        std::printf("%-58s %10.1f %10.1f %7.2f %7.2f %s\n", goal.title.c_str(), found->second,
                    reference, ratio, goal.limit, ratio <= goal.limit ? "met" : "MISSED");
    }
}

} // namespace bench
