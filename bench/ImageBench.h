#pragma once

namespace mirelo::bench {

// "mirelo-bench images DIR": makes the image benchmark's files in DIR (once)
// and prints the decoder's, the viewer's and the thumbnail store's timings.
int runImageBench(int argc, char** argv);

// "mirelo-bench previews FILE...": FILEs through the thumbnail store, with
// its rate and the process's peak memory.
int runPreviewBench(int argc, char** argv);

// "mirelo-bench frame FILE": the viewer frame of FILE, stage by stage.
int runFrameBench(int argc, char** argv);

} // namespace mirelo::bench
