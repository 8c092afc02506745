#pragma once

// Benchmarks measured beside their references in the same run, and the table of ratios.

#include <string>
#include <vector>

namespace bench {

// A goal: the median time of `measured` at most `limit` times the sum of the median times of
// `references` (benchmark names as registered); with no reference, at most `limit` ms.
struct Goal {
    std::string title;
    std::string measured;
    std::vector<std::string> references;
    double limit;
};

// Runs the benchmarks (5 repetitions each unless the command line says otherwise, reporting
// the aggregates), then prints each goal with both times and their ratio.
void RunBenchmarksWithGoals(int argc, char **argv, const std::vector<Goal> &goals);

} // namespace bench
