// The cost that recording the throw site adds to every C++ exception, at a few call depths.
#include "platform/ExceptionTracking.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

[[gnu::noinline]] void ThrowAtDepth(int depth)
{
    if (depth == 0)
        throw std::runtime_error("Erreur");
    ThrowAtDepth(depth - 1);
    benchmark::ClobberMemory(); // keeps the recursion from becoming a tail call
}

void ThrowAndCatch(benchmark::State &state, bool tracked)
{
    if (tracked)
        platform::StartExceptionTracking();
    else
        platform::StopExceptionTracking();
    const int depth = int(state.range(0));
    for (auto _ : state) {
        try {
            ThrowAtDepth(depth);
        } catch (const std::exception &error) {
            benchmark::DoNotOptimize(error.what());
        }
    }
    platform::StopExceptionTracking();
}

void BM_ThrowUntracked(benchmark::State &state)
{
    ThrowAndCatch(state, false);
}
BENCHMARK(BM_ThrowUntracked)->Arg(1)->Arg(20)->Arg(100);

void BM_ThrowTracked(benchmark::State &state)
{
    ThrowAndCatch(state, true);
}
BENCHMARK(BM_ThrowTracked)->Arg(1)->Arg(20)->Arg(100);

} // namespace

BENCHMARK_MAIN();
