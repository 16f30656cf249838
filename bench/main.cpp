// Benchmarks of the library core. "mirelo-bench make-tree DIR [FILES]" makes
// the scan benchmark's tree; "mirelo-bench make-duplicates DIR [FILES]
// [PERCENT]" a tree with copies for the duplicates benchmark; "mirelo-bench write-library FILE [ITEMS]" writes
// a synthetic library file; "mirelo-bench rss FILE" loads a library file and
// prints the resident memory; "mirelo-bench model [ITEMS]" times the
// application model; "mirelo-bench grid [ITEMS]" times the library grid's
// painting while it scrolls; "mirelo-bench window [ITEMS]" times the library
// window (launch, search typing, selection, memory); "mirelo-bench stage FILE"
// times the viewer's picture while it zooms and pans; "mirelo-bench images DIR" times the image engine;
// "mirelo-bench previews FILE..." times the thumbnail store on FILEs;
// "mirelo-bench frame FILE" times one viewer frame stage by stage;
// "mirelo-bench viewer FOLDER" times the viewer over a folder of photos;
// anything else runs Google Benchmark.

#include "AppModelBench.h"
#include "GridBench.h"
#include "ImageBench.h"
#include "SimilarBench.h"
#include "library/LibraryFile.h"
#include "ProcessMemory.h"
#include "StageBench.h"
#include "ViewerBench.h"
#include "WindowBench.h"
#include "SyntheticLibrary.h"
#include "images/ImageModule.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    mirelo::ImageModule::prepareProcess();
    if (argc >= 3 && std::strcmp(argv[1], "make-tree") == 0) {
        mirelo::bench::makeTree(argv[2], argc >= 4 ? std::atoi(argv[3]) : 100'000);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "make-duplicates") == 0) {
        mirelo::bench::makeDuplicateTree(argv[2], argc >= 4 ? std::atoi(argv[3]) : 100'000,
                                         argc >= 5 ? std::atoi(argv[4]) : 10);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "write-library") == 0) {
        mirelo::bench::writeSyntheticLibrary(argv[2], argc >= 4 ? std::atoi(argv[3]) : 1'000'000);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "rss") == 0) {
        auto start = std::chrono::steady_clock::now();
        auto snapshot = mirelo::LibraryFile::read(argv[2]);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("items=%lld load_s=%.3f rss_mb=%.1f peak_rss_mb=%.1f\n",
                    static_cast<long long>(snapshot.items.size()), seconds,
                    mirelo::bench::processKilobytes("VmRSS:") / 1024.0,
                    mirelo::bench::processKilobytes("VmHWM:") / 1024.0);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "model") == 0) return mirelo::bench::runModelBench(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "grid") == 0) return mirelo::bench::runGridBench(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "window") == 0) return mirelo::bench::runWindowBench(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "stage") == 0) return mirelo::bench::runStageBench(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "viewer") == 0) return mirelo::bench::runViewerBench(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "images") == 0) return mirelo::bench::runImageBench(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "previews") == 0) return mirelo::bench::runPreviewBench(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "frame") == 0) return mirelo::bench::runFrameBench(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "similar") == 0) return mirelo::bench::runSimilarBench(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
