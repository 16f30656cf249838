#pragma once
// Libraries that most processes never need (FFmpeg, the image decoders) live
// in modules loaded on first use: together they would cost every start of
// the application and its tools some 70 ms of dynamic loading.

namespace mirelo {

// The address of `symbol` in the module `fileName`, looked for where the
// build put it (`builtPath`), beside the program, then on the library path;
// loaded once per process. Null when it cannot be loaded, after one line on
// stderr saying that `what` is unavailable and why.
void* moduleSymbol(const char* builtPath, const char* fileName, const char* symbol, const char* what);

} // namespace mirelo
