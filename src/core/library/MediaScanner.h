#pragma once
// Walks chosen folders and files and returns every media file in them.

#include "library/MediaItem.h"
#include "work/ScanToken.h"

#include <functional>
#include <string>
#include <vector>

namespace mirelo {

struct ScanResult {
    MediaItems items;     // duplicate-free, in name order
    int inaccessible = 0; // locations that could not be read
    bool cancelled = false;
};

class MediaScanner {
public:
    // Folder extensions that mark a bundle: listed as an entry, never entered.
    static bool isPackageName(std::string_view name);

    // Synchronous; returns when the walk is complete or the token cancelled.
    // `progress` (optional) receives the number of items found so far, every
    // 200 visited entries and once at the end. `roots` are paths.
    static ScanResult scan(const std::vector<std::string>& roots, bool recursive, const ScanToken& token,
                           const std::function<void(int)>& progress = {});
};

} // namespace mirelo
