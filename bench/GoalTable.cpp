#include "bench/GoalTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace bench {

namespace {

double timeOf(const std::function<void()> &task)
{
    const auto start = std::chrono::steady_clock::now();
    task();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// "median [first quartile - third quartile]"
std::string summary(const Samples &samples)
{
    char text[64];
    std::snprintf(text, sizeof text, "%9.1f [%.1f-%.1f]", samples.quantile(0.5),
                  samples.quantile(0.25), samples.quantile(0.75));
    return text;
}

} // namespace

double Samples::quantile(double q) const
{
    if (ms.empty())
        return NAN;
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const double place = q * double(sorted.size() - 1);
    const auto below = std::size_t(place);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (place - double(below)) * (sorted[above] - sorted[below]);
}

PairedSamples RunInterleaved(const std::function<void()> &measured,
                             const std::function<void()> &reference, int repetitions)
{
    return RunInterleavedTimed([&] { return timeOf(measured); }, [&] { return timeOf(reference); },
                               repetitions);
}

PairedSamples RunInterleavedTimed(const TimedRun &measured, const TimedRun &reference,
                                  int repetitions)
{
    measured();
    reference();
    PairedSamples samples;
    for (int i = 0; i < repetitions; ++i) {
        samples.measured.ms.push_back(measured());
        samples.reference.ms.push_back(reference());
    }
    return samples;
}

int Repetitions(int argc, char **argv, int byDefault)
{
    constexpr std::string_view option = "--benchmark_repetitions=";
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]).starts_with(option))
            return std::max(1, std::atoi(argv[i] + option.size()));
    return byDefault;
}

Samples RunRepeated(const std::function<void()> &task, int repetitions)
{
    task();
    Samples samples;
    for (int i = 0; i < repetitions; ++i)
        samples.ms.push_back(timeOf(task));
    return samples;
}

void GoalTable::add(const std::string &title, const PairedSamples &samples,
                    std::optional<double> limit)
{
    rows_.push_back({title, samples, true, limit});
}

void GoalTable::addAbsolute(const std::string &title, const Samples &samples, double limitMs)
{
    rows_.push_back({title, {samples, {}}, false, limitMs});
}

void GoalTable::print() const
{
    std::printf("\n%-60s %4s %-24s %-24s %6s %6s\n", "goal", "runs", "ms: median [quartiles]",
                "reference ms", "ratio", "limit");
    for (const Row &row : rows_) {
        const Samples &measured = row.samples.measured;
        const double median = measured.quantile(0.5);
        std::printf("%-60s %4zu %-24s ", row.title.c_str(), measured.ms.size(),
                    summary(measured).c_str());
        if (!row.withReference) {
            std::printf("%-24s %6s %4.0fms %s\n", "-", "-", *row.limit,
                        median <= *row.limit ? "met" : "MISSED");
            continue;
        }
        const double ratio = median / row.samples.reference.quantile(0.5);
        std::printf("%-24s %6.2f ", summary(row.samples.reference).c_str(), ratio);
        if (row.limit)
            std::printf("%6.2f %s\n", *row.limit, ratio <= *row.limit ? "met" : "MISSED");
        else
            std::printf("%6s\n", "-");
    }
}

void RunBenchmarks(int argc, char **argv)
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
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

} // namespace bench
