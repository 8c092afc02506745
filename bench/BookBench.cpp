// MD5 throughput, and walking the record chain of a 2,000-record book.
#include "app/book/BookFile.h"
#include "app/core/files/Md5.h"
#include "bench/BenchBooks.h"

#include <benchmark/benchmark.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

void BM_MD5Update(benchmark::State &state)
{
    const std::vector<std::uint8_t> data(std::size_t(state.range(0)), 0x5a);
    for (auto _ : state) {
        MD5Context context;
        MD5Init(context);
        MD5Update(context, data.data(), std::uint32_t(data.size()));
        MD5Digest digest;
        MD5Final(context, digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_MD5Update)->Arg(64)->Arg(4 << 10)->Arg(1 << 20)->Arg(64 << 20);

// The file named by QUIRELLE_BENCH_MD5_FILE (bench/run.sh makes one to compare with md5sum).
void BM_MD5File(benchmark::State &state)
{
    const char *path = std::getenv("QUIRELLE_BENCH_MD5_FILE");
    if (!path) {
        state.SkipWithError("QUIRELLE_BENCH_MD5_FILE not set");
        return;
    }
    const auto size = std::int64_t(std::filesystem::file_size(path));
    for (auto _ : state) {
        MD5Digest digest;
        benchmark::DoNotOptimize(MD5File(path, digest));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * size);
}
BENCHMARK(BM_MD5File)->Unit(benchmark::kMillisecond);

// A book of 2,000 records of 20 kB each (about 40 MB), written once into the fixture folder.
const std::filesystem::path &bookOf2000Records()
{
    static const std::filesystem::path path = [] {
        const auto file = bench::FixtureFolder() / "records.bd";
        std::ofstream out(file, std::ios::binary);
        const std::string record(20'000, '\xff');
        const auto length = [&](std::uint32_t n) {
            const char bytes[4] = {char(n), char(n >> 8), char(n >> 16), char(n >> 24)};
            out.write(bytes, 4);
        };
        out.write(record.data(), std::streamsize(record.size()));
        for (int i = 1; i < 2000; ++i) {
            length(std::uint32_t(record.size()));
            out.write(record.data(), std::streamsize(record.size()));
        }
        length(std::uint32_t(record.size()));
        return file;
    }();
    return path;
}

void BM_CountBookRecords(benchmark::State &state)
{
    std::ifstream stream(bookOf2000Records(), std::ios::binary);
    for (auto _ : state) {
        const std::int32_t count = ReadBookRecord(stream, nullptr, INT32_MAX);
        if (count != 2000)
            state.SkipWithError("wrong record count");
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_CountBookRecords)->Unit(benchmark::kMicrosecond);

void BM_ReadLastRecord(benchmark::State &state)
{
    std::ifstream stream(bookOf2000Records(), std::ios::binary);
    Bytes record;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadBookRecord(stream, &record, 1999));
}
BENCHMARK(BM_ReadLastRecord)->Unit(benchmark::kMicrosecond);

} // namespace
