#pragma once
// The whole persistent state of the library: the indexed items and the
// user's place in them. Folders are paths; a trailing "/" is kept as given.

#include "library/MediaItem.h"

#include <optional>
#include <string>
#include <vector>

namespace mirelo {

struct LibrarySnapshot {
    int version = 1;
    MediaItems items;
    std::vector<std::string> folders;
    std::vector<std::string> indexedFolders;
    std::optional<std::string> selectedFolder;
    std::vector<std::string> expandedFolders;
    std::string sort = "Name";
    std::string section = "All media";
    std::string format = "All formats";
    std::string search;

    bool operator==(const LibrarySnapshot&) const = default;
};

} // namespace mirelo
