#pragma once
// The library file: one compact UTF-8 JSON object, version 1. Reading is
// strict: a missing key, a wrong type or a URL that does not parse fails the
// whole read with a LibraryError naming the file.

#include "AtomicFile.h"
#include "LibrarySnapshot.h"

#include <string>

namespace mirelo {

class LibraryFile {
public:
    static void encode(const LibrarySnapshot& snapshot, FileSink& sink);
    // Throws LibraryError; `path` must name an existing file.
    static LibrarySnapshot read(const std::string& path);
    // Atomic replacement; throws LibraryError, leaving the old file intact.
    static void write(const std::string& path, const LibrarySnapshot& snapshot);
};

} // namespace mirelo
