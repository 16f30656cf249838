#pragma once

namespace mirelo::bench {

// "mirelo-bench grid [ITEMS]": the library grid over a synthetic library,
// 1440 × 900, painted frame by frame while it scrolls.
int runGridBench(int argc, char** argv);

} // namespace mirelo::bench
