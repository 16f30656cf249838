#pragma once

namespace mirelo::bench {

// "mirelo-bench model [ITEMS]": prints the model's timings.
int runModelBench(int argc, char** argv);

} // namespace mirelo::bench
