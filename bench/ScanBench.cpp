#include "library/MediaScanner.h"
#include "SyntheticLibrary.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace mirelo;

namespace {

const std::string& tree()
{
    static const std::string root = [] {
        std::string path = bench::scratchFolder() + "/tree-100k";
        bench::makeTree(path, 100'000);
        return path;
    }();
    return root;
}

void BM_ScanTree(benchmark::State& state)
{
    const std::string& root = tree();
    int found = 0;
    for (auto _ : state) {
        ScanToken token;
        found = int(MediaScanner::scan({root}, true, token).items.size());
    }
    state.counters["items"] = found;
}
BENCHMARK(BM_ScanTree)->Unit(benchmark::kMillisecond)->MinTime(2);

// The peer: find(1) reading the size and date of every entry.
void BM_FindPrintf(benchmark::State& state)
{
    const std::string command = "find '" + tree() + "' -printf '%s %T@\\n' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
}
BENCHMARK(BM_FindPrintf)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace
