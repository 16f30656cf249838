// Any bytes as a library file: a snapshot or a clear error, never a crash.
#include "FuzzFile.h"
#include "LibraryError.h"
#include "LibraryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    try {
        mirelo::LibraryFile::read(file.path());
    } catch (const mirelo::LibraryError& error) {
        if (std::string(error.what()).empty()) __builtin_trap();
    }
    return 0;
}
