// libFuzzer's entry point for every target. Beside running the input it records the peak of
// heap bytes allocated while one input runs, and at exit prints the largest such peak; the
// input that reached it is written to $QUIRELLE_FUZZ_PEAK_INPUT when that is set. With
// $QUIRELLE_FUZZ_HANG set every input loops forever, so that fuzz/run.sh can see a hang caught.
#include "fuzz/Fuzz.h"

#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::atomic<std::int64_t> liveBytes{0}; // allocated minus freed since the input began
std::atomic<std::int64_t> peakBytes{0};
bool plantedHang = false;

void onMalloc(const volatile void *, std::size_t size)
{
    const std::int64_t live = liveBytes += static_cast<std::int64_t>(size);
    std::int64_t peak = peakBytes.load(std::memory_order_relaxed);
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live))
        ;
}

void onFree(const volatile void *pointer)
{
    if (pointer)
        liveBytes -= static_cast<std::int64_t>(
            __sanitizer_get_allocated_size(const_cast<const void *>(pointer)));
}

struct WorstInput {
    std::int64_t peak = -1;
    std::vector<std::uint8_t> bytes;
};

WorstInput &worstInput()
{
    static WorstInput *worst = new WorstInput; // never freed: read by the exit handler
    return *worst;
}

void reportWorstInput()
{
    const WorstInput &worst = worstInput();
    std::fprintf(stderr, "quirelle: peak heap of one input: %lld bytes (input of %zu bytes)\n",
                 static_cast<long long>(worst.peak), worst.bytes.size());
    if (const char *path = std::getenv("QUIRELLE_FUZZ_PEAK_INPUT"))
        if (std::FILE *file = std::fopen(path, "wb")) {
            std::fwrite(worst.bytes.data(), 1, worst.bytes.size(), file);
            std::fclose(file);
        }
}

} // namespace

__attribute__((weak)) void FuzzSetUp() {}

void FuzzFault(const char *what)
{
    std::fprintf(stderr, "quirelle: fault: %s\n", what);
    std::abort();
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    worstInput();
    std::atexit(reportWorstInput);
    plantedHang = std::getenv("QUIRELLE_FUZZ_HANG") != nullptr;
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    liveBytes = 0;
    peakBytes = 0;
    for (volatile bool forever = plantedHang; forever;)
        ;
    FuzzInput({data, size});
    const std::int64_t peak = peakBytes;
    WorstInput &worst = worstInput();
    if (peak > worst.peak) {
        worst.peak = peak;
        worst.bytes.assign(data, data + size);
    }
    return 0;
}
