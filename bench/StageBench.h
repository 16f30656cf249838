#pragma once

namespace mirelo::bench {

// "mirelo-bench stage FILE [OUT.png]": the viewer's picture at 1440 × 900,
// painted frame by frame while it zooms in and pans, from the reduced copies;
// OUT.png gets the picture at 200 %, panned, and OUT-fit.png fitted.
int runStageBench(int argc, char** argv);

} // namespace mirelo::bench
