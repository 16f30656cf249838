#pragma once
// The sort orders of the library, and the one item ordering of the system:
// the sort's key, then the name order, then the path.

#include "library/MediaItem.h"

#include <array>
#include <optional>
#include <string_view>

namespace mirelo {

enum class MediaSort { name, largest, smallest, newest, format };

struct MediaSorts {
    static constexpr std::array<MediaSort, 5> allCases = {MediaSort::name, MediaSort::largest, MediaSort::smallest,
                                                          MediaSort::newest, MediaSort::format};
    // "Name", "Largest first", "Smallest first", "Newest first", "File format".
    static std::string_view rawValue(MediaSort sort);
    static std::string_view id(MediaSort sort) { return rawValue(sort); }
    static std::optional<MediaSort> fromRawValue(std::string_view raw);
    // The items ordered by this sort (stable).
    static MediaItems ordered(const MediaItems& items, MediaSort sort);
    // Are the items in name order (names, then paths)?
    static bool inNameOrder(const MediaItems& items);
};

} // namespace mirelo
