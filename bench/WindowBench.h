#pragma once

namespace mirelo::bench {

// "mirelo-bench window [ITEMS]": the library window over a synthetic library:
// launch, search typing, Select All, one card, memory.
int runWindowBench(int argc, char** argv);

} // namespace mirelo::bench
