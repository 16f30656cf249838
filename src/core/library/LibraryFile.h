#pragma once
// The library file: one compact UTF-8 JSON object, version 1. Reading is
// strict: a missing key, a wrong type or a URL that does not parse fails the
// whole read with a LibraryError naming the file.

#include "files/AtomicFile.h"
#include "library/LibrarySnapshot.h"

#include <string>
#include <string_view>

namespace mirelo {

class LibraryFile {
public:
    static void encode(const LibrarySnapshot& snapshot, FileSink& sink);
    // Throws LibraryError; `path` must name an existing file.
    static LibrarySnapshot read(const std::string& path);
    // The same from bytes in memory; `path` names them in messages.
    static LibrarySnapshot decode(std::string_view bytes, const std::string& path);
    // Atomic replacement; throws LibraryError, leaving the old file intact.
    static void write(const std::string& path, const LibrarySnapshot& snapshot);
};

} // namespace mirelo
