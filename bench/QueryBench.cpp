#include "library/LibraryIndex.h"
#include "layout/MediaGridLayout.h"
#include "library/LibraryQuery.h"
#include "SyntheticLibrary.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

using namespace mirelo;

namespace {

const MediaItems& million()
{
    // As after loading the library file: in name order, allocated in that order.
    static const MediaItems items = [] {
        MediaItems ordered = MediaSorts::ordered(bench::syntheticLibrary(1'000'000), MediaSort::name);
        MediaItems loaded;
        loaded.reserve(ordered.size());
        for (const auto& item : ordered)
            loaded.append(MediaItem(item.path(), item.bytes(), item.modified(), item.isVideo()));
        return loaded;
    }();
    return items;
}

LibraryQueryInput inputWith(MediaSort sort)
{
    LibraryQueryInput input;
    input.items = million();
    input.sort = sort;
    return input;
}

void runQuery(benchmark::State& state, const LibraryQueryInput& input)
{
    size_t visible = 0;
    for (auto _ : state) {
        ScanToken token;
        visible = size_t(LibraryQuery::run(input, token)->visible.size());
    }
    state.counters["visible"] = double(visible);
}

void BM_QueryFolderFormatSearch(benchmark::State& state)
{
    LibraryQueryInput input = inputWith(MediaSort::name);
    input.folder = "/home/user/Pictures/2019";
    input.format = "JPG";
    input.search = "img_1";
    runQuery(state, input);
}
BENCHMARK(BM_QueryFolderFormatSearch)->Unit(benchmark::kMillisecond);

void BM_QuerySearchOnly(benchmark::State& state)
{
    LibraryQueryInput input = inputWith(MediaSort::name);
    input.search = "café";
    runQuery(state, input);
}
BENCHMARK(BM_QuerySearchOnly)->Unit(benchmark::kMillisecond);

void BM_QueryLargestFirst(benchmark::State& state) { runQuery(state, inputWith(MediaSort::largest)); }
BENCHMARK(BM_QueryLargestFirst)->Unit(benchmark::kMillisecond);

void BM_QueryNewestFirst(benchmark::State& state) { runQuery(state, inputWith(MediaSort::newest)); }
BENCHMARK(BM_QueryNewestFirst)->Unit(benchmark::kMillisecond);

void BM_QueryNameAll(benchmark::State& state) { runQuery(state, inputWith(MediaSort::name)); }
BENCHMARK(BM_QueryNameAll)->Unit(benchmark::kMillisecond)->Iterations(3);

// The launch's first query: the restored library is in name order already.
void BM_QueryNameAllInNameOrder(benchmark::State& state)
{
    LibraryQueryInput input = inputWith(MediaSort::name);
    input.items = MediaSorts::ordered(input.items, MediaSort::name);
    input.itemsInNameOrder = true;
    runQuery(state, input);
}
BENCHMARK(BM_QueryNameAllInNameOrder)->Unit(benchmark::kMillisecond)->Iterations(3);

// Time from cancel() to the query returning, cancelled at several points.
void BM_QueryCancelLatency(benchmark::State& state)
{
    const LibraryQueryInput input = inputWith(state.range(0) == 0 ? MediaSort::largest : MediaSort::name);
    double worst = 0;
    for (auto _ : state) {
        for (int delay : {1, 5, 20, 60}) {
            ScanToken token;
            std::chrono::steady_clock::time_point cancelledAt;
            std::thread canceller([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                cancelledAt = std::chrono::steady_clock::now();
                token.cancel();
            });
            auto result = LibraryQuery::run(input, token);
            auto returnedAt = std::chrono::steady_clock::now();
            canceller.join();
            if (!result)
                worst = std::max(worst, std::chrono::duration<double, std::milli>(returnedAt - cancelledAt).count());
        }
    }
    state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_QueryCancelLatency)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The duplicates section over 1,000,000 items with 50,000 groups of two to
// four copies found: the query that fills it, and the grouped layout's
// cards on the first screen.
void BM_QueryDuplicatesSection(benchmark::State& state)
{
    auto groups = std::make_shared<DuplicateGroups>();
    const MediaItems& items = million();
    for (int g = 0; g < 50'000; ++g) {
        DuplicateGroups::Group group;
        for (int c = 0; c < 2 + g % 3; ++c)
            group.paths.emplace_back(items[(qsizetype(g) * 19 + c * 7) % items.size()].path());
        groups->groups.push_back(std::move(group));
    }
    groups->reindex();
    LibraryQueryInput input = inputWith(MediaSort::largest);
    input.section = LibraryMediaFilter::duplicates;
    input.duplicates = groups;
    size_t shown = 0;
    double layoutMs = 0;
    for (auto _ : state) {
        ScanToken token;
        const auto result = LibraryQuery::run(input, token);
        shown = result->groups.size();
        const auto start = std::chrono::steady_clock::now();
        MediaGridLayout grid(1100, 204);
        std::vector<int> firsts;
        for (const ShownGroup& group : result->groups) firsts.push_back(group.first);
        grid.setGroups(std::move(firsts), int(result->visible.size()));
        benchmark::DoNotOptimize(grid.cardsBetween(0, 900, MediaGridLayout::firstPage(int(result->visible.size()))));
        layoutMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["groups"] = double(shown);
    state.counters["layout_ms"] = layoutMs;
}
BENCHMARK(BM_QueryDuplicatesSection)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MergeScanIntoMillion(benchmark::State& state)
{
    MediaItems scanned;
    for (int i = 0; i < 1000; ++i)
        scanned.append(MediaItem("/home/user/Pictures/2019/New/IMG_" + std::to_string(i) + ".JPG", 1000, 1.0, false));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            LibraryIndex::merging(scanned, million(), {"/home/user/Pictures/2019/New"}, true, true, {}));
}
BENCHMARK(BM_MergeScanIntoMillion)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
