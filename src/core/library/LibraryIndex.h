#pragma once
// Keeping the library's item list consistent with the file system: merging
// a scan, testing containment, rewriting locations after a folder moved.
// Paths compare in NFC, so a name in NFD matches its NFC twin.

#include "library/MediaItem.h"

#include <string>
#include <string_view>
#include <vector>

namespace mirelo {

class LibraryIndex {
public:
    // Is `path` the folder itself or anywhere below it? Both sides are
    // standardised first ("/Photos 2/x" is not inside "/Photos").
    static bool contains(std::string_view path, std::string_view folder);

    // The location `path` has after `from` was renamed or moved to `to`.
    static std::string remap(std::string_view path, std::string_view from, std::string_view to);

    // The new item list after a scan, in name order. With `replace`, items
    // under the roots that the scan did not find are dropped, except those
    // under a `preserving` location.
    static MediaItems merging(const MediaItems& scanned, const MediaItems& existing,
                              const std::vector<std::string>& roots, bool replace, bool recursive,
                              const std::vector<std::string>& preserving);
};

// Containment of already standardised, NFC paths.
bool pathIsInside(std::string_view path, std::string_view folder);

} // namespace mirelo
