#pragma once

// Goals measured beside their references in the same run: a goal and its reference run in
// turns (A, B, A, B ...), so that both meet the same load of the machine, and the table gives
// the median and the quartiles of each and the ratio of the two medians.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// The times of the runs of one task, in milliseconds.
struct Samples {
    std::vector<double> ms;

    double quantile(double q) const; // 0.5: the median
};

struct PairedSamples {
    Samples measured;
    Samples reference;
};

// One run of a task that times itself, in milliseconds.
using TimedRun = std::function<double()>;

// Runs the two tasks in turns: once each unmeasured, then `repetitions` times each.
PairedSamples RunInterleaved(const std::function<void()> &measured,
                             const std::function<void()> &reference, int repetitions);
PairedSamples RunInterleavedTimed(const TimedRun &measured, const TimedRun &reference,
                                  int repetitions);

// Runs the task once unmeasured, then `repetitions` times.
Samples RunRepeated(const std::function<void()> &task, int repetitions);

// The repetitions of each goal: as many as Google Benchmark is told to make on the command line
// (--benchmark_repetitions=N), or `byDefault`.
int Repetitions(int argc, char **argv, int byDefault);

class GoalTable {
public:
    // The median of the measured runs at most `limit` times the median of the reference's;
    // without a limit, a comparison only.
    void add(const std::string &title, const PairedSamples &samples,
             std::optional<double> limit = {});
    // A goal without reference: the median at most `limitMs`.
    void addAbsolute(const std::string &title, const Samples &samples, double limitMs);
    void print() const;

private:
    struct Row {
        std::string title;
        PairedSamples samples;
        bool withReference;
        std::optional<double> limit;
    };
    std::vector<Row> rows_;
};

// Runs the benchmarks registered with Google Benchmark, 5 repetitions each unless the command
// line says otherwise, reporting their aggregates.
void RunBenchmarks(int argc, char **argv);

} // namespace bench
