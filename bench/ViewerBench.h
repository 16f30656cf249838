#pragma once

namespace mirelo::bench {

// "mirelo-bench viewer FOLDER": the viewer over a folder of at least 60
// photos: opening a card, the next (prefetched) picture, one far along the
// filmstrip, each until painted, and the memory while paging through all.
int runViewerBench(int argc, char** argv);

} // namespace mirelo::bench
