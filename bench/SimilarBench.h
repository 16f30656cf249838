#pragma once

namespace mirelo::bench {

// "mirelo-bench similar DIR [COUNT]": photos that look alike, found from
// their cached thumbnails, with precision and recall on a labelled set.
int runSimilarBench(int argc, char** argv);

} // namespace mirelo::bench
