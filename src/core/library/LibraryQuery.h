#pragma once
// Turns the whole library plus the view settings (folder, section, format,
// search, sort) into what the library window shows.

#include "library/DuplicateGroups.h"
#include "library/MediaItem.h"
#include "library/MediaIDSet.h"
#include "library/MediaSort.h"
#include "work/ScanToken.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mirelo {

enum class LibraryMediaFilter { all, images, videos, large, duplicates };

inline constexpr int64_t kLargeFileBytes = 10'000'000;
inline constexpr std::string_view kAllFormats = "All formats";

struct MediaStorageSummary {
    int64_t imageBytes = 0;
    int64_t videoBytes = 0;
    int64_t otherBytes = 0;
    void include(const MediaItem& item);
    int64_t totalBytes() const { return addBytes(addBytes(imageBytes, videoBytes), otherBytes); }
    bool operator==(const MediaStorageSummary&) const = default;
};

// What a query shows before its search, in sort order, with each item's path
// hash: later searches in the same place filter it instead of sorting again.
struct UnsearchedItems {
    MediaItems items;
    std::vector<uint64_t> hashes;
    MediaIDSet ids; // of `items`
    MediaStorageSummary storage;
};

struct LibraryQueryInput {
    MediaItems items;                  // the whole library
    std::optional<std::string> folder; // scope: at or below this folder
    LibraryMediaFilter section = LibraryMediaFilter::all;
    std::string format = std::string(kAllFormats);
    std::string search; // as typed
    MediaSort sort = MediaSort::name;
    // The caller knows `items` are in name order (as merging leaves them):
    // the name sort then only keeps that order.
    bool itemsInNameOrder = false;
    // The result of this same query without its search, over these same
    // items; scopedItems, formats and totalBytes are then not computed.
    std::shared_ptr<const UnsearchedItems> unsearched;
    // The groups the duplicates section shows.
    std::shared_ptr<const DuplicateGroups> duplicates;
};

// One group of the duplicates section as shown: its first card and how many,
// what letting go of all but the first would free, and whether the first is
// the copy to keep (it was filtered out otherwise).
struct ShownGroup {
    int first = 0, count = 0;
    int64_t freed = 0;
    bool keeperShown = true;
    int group = 0; // in DuplicateGroups::groups
};

struct LibraryQueryResult {
    MediaItems scopedItems; // in library order
    MediaItems visible;     // in sort order
    std::vector<std::string> formats;
    int64_t totalBytes = 0;
    MediaIDSet visibleIDs;
    MediaStorageSummary storage;
    // Set when the search was empty (the visible items) or given.
    std::shared_ptr<const UnsearchedItems> unsearched;
    // The scope's values (scopedItems, formats, totalBytes) were left out:
    // they are those of the query that made `unsearched`.
    bool scopeReused = false;
    // The duplicates section: `visible` is these groups one after another,
    // and `storage` what letting go of the extra copies would free.
    std::vector<ShownGroup> groups;
};

class LibraryQuery {
public:
    // Nothing when the token was or became cancelled.
    static std::optional<LibraryQueryResult> run(const LibraryQueryInput& input, const ScanToken& token);
};

} // namespace mirelo
