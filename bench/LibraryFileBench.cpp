#include "library/LibraryFile.h"
#include "SyntheticLibrary.h"

#include <benchmark/benchmark.h>

using namespace mirelo;

namespace {

const LibrarySnapshot& million()
{
    static const LibrarySnapshot snapshot = [] {
        LibrarySnapshot s;
        s.items = bench::syntheticLibrary(1'000'000);
        s.indexedFolders = {"/home/user/Pictures"};
        return s;
    }();
    return snapshot;
}

std::string libraryPath() { return bench::scratchFolder() + "/library-1m.json"; }

void BM_SaveMillion(benchmark::State& state)
{
    const auto& snapshot = million();
    for (auto _ : state) LibraryFile::write(libraryPath(), snapshot);
}
BENCHMARK(BM_SaveMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadMillion(benchmark::State& state)
{
    LibraryFile::write(libraryPath(), million());
    for (auto _ : state) benchmark::DoNotOptimize(LibraryFile::read(libraryPath()));
}
BENCHMARK(BM_LoadMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
