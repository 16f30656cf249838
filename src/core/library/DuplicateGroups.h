#pragma once
// The duplicates found in the library, as the query shows them: groups of
// paths, the copy to keep first, and why it is kept.

#include "library/MediaItem.h"

#include <memory>
#include <string_view>
#include <string>
#include <unordered_map>
#include <vector>

namespace mirelo {

struct DuplicateGroups {
    enum class Kind { exact, similar };
    // Why the first of a group is the one to keep.
    enum class Reason { firstFolder, oldest, largestPicture, cameraDetails };
    struct Group {
        std::vector<std::string> paths; // the keeper first
        Reason reason = Reason::oldest;
        // Other names of a path's file (hard links): one file, never copies.
        std::unordered_map<std::string, std::vector<std::string>> links;
    };

    Kind kind = Kind::exact;
    std::vector<Group> groups;

    // The group holding `path` and its place there; -1 when none does.
    std::pair<int, int> find(std::string_view path) const { return find(path, MediaItem::hashPath(path)); }
    // The same for an item, by the hash it carries: no string is made.
    std::pair<int, int> find(const MediaItem& item) const { return find(item.path(), item.pathHash()); }
    void reindex()
    {
        index_.clear();
        for (size_t g = 0; g < groups.size(); ++g)
            for (size_t p = 0; p < groups[g].paths.size(); ++p)
                index_.emplace(MediaItem::hashPath(groups[g].paths[p]), std::pair{int(g), int(p)});
    }

private:
    std::pair<int, int> find(std::string_view path, uint64_t hash) const
    {
        const auto [first, last] = index_.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            const auto [group, place] = it->second;
            if (groups[size_t(group)].paths[size_t(place)] == path) return it->second;
        }
        return {-1, -1};
    }
    std::unordered_multimap<uint64_t, std::pair<int, int>> index_;
};

} // namespace mirelo
