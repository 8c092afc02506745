// Cost of registry calls against a registry file holding a number of keys (the argument).
#include "platform/Registry.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using platform::Hive;
using platform::RegistryKey;

namespace {

// A fresh platform root, removed at the end of the benchmark.
class BenchRoot {
public:
    BenchRoot()
    {
        std::string root =
            (std::filesystem::temp_directory_path() / "quirelle-bench-XXXXXX").string();
        if (!mkdtemp(root.data()))
            std::abort();
        path_ = root;
        setenv("QUIRELLE_ROOT", root.c_str(), 1);
    }
    ~BenchRoot() { std::filesystem::remove_all(path_); }
    BenchRoot(const BenchRoot &) = delete;
    BenchRoot &operator=(const BenchRoot &) = delete;

private:
    std::filesystem::path path_;
};

// `keys` keys of three values each, besides the settings key.
void fillRegistry(int keys)
{
    for (int i = 0; i < keys; ++i) {
        auto key = RegistryKey::open(Hive::ClassesRoot, "CLSID\\{" + std::to_string(i) + "}", true);
        key->writeString("", "Quirelle");
        key->writeString("ThreadingModel", "Apartment");
        key->writeInteger("Index", i);
    }
    RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", true)->writeInteger("Zoom", 2);
}

void BM_OpenAndReadInteger(benchmark::State &state)
{
    const BenchRoot root;
    fillRegistry(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto key = RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", false);
        benchmark::DoNotOptimize(key->readInteger("Zoom"));
    }
}
BENCHMARK(BM_OpenAndReadInteger)->Arg(0)->Arg(100)->Arg(1000);

void BM_WriteInteger(benchmark::State &state)
{
    const BenchRoot root;
    fillRegistry(static_cast<int>(state.range(0)));
    auto key = RegistryKey::open(Hive::CurrentUser, "Software\\Quirelle", true);
    int32_t zoom = 0;
    for (auto _ : state)
        key->writeInteger("Zoom", ++zoom & 3);
}
BENCHMARK(BM_WriteInteger)->Arg(0)->Arg(100)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
