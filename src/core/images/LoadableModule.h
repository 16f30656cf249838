#pragma once
// Libraries that most processes never need (FFmpeg, the image decoders) live
// in modules loaded on first use: together they would cost every start of
// the application and its tools some 70 ms of dynamic loading.

#include <functional>
#include <string>

namespace mirelo {

// The address of `symbol` in the module `fileName`. An installed program
// looks in its own module folder (found from the program's place, so the
// whole installation can move); a program run from the build tree looks
// where the build put it (`builtPath`). Loaded once per process. Null when
// it cannot be loaded: the failure is reported once per module.
void* moduleSymbol(const char* builtPath, const char* fileName, const char* symbol, const char* what);

struct ModuleFailure {
    std::string module; // its file name
    std::string what;   // "pictures are", "video previews are"
    std::string reason; // the loader's words
};

// Called once for each module that fails to load, on the thread that first
// wanted it; without a listener the failure is one line on stderr. Clear it
// (an empty function) before what it calls goes away.
void setModuleFailureListener(std::function<void(const ModuleFailure&)> listener);

} // namespace mirelo
