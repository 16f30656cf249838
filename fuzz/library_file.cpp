// Any bytes as a library file: a snapshot or a clear error, never a crash.
#include "files/LibraryError.h"
#include "library/LibraryFile.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        mirelo::LibraryFile::decode(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
    } catch (const mirelo::LibraryError& error) {
        if (std::string_view(error.what()).empty()) __builtin_trap();
    }
    return 0;
}
