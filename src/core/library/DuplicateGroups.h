#pragma once
// The duplicates found in the library, as the query shows them: groups of
// paths, the copy to keep first, and why it is kept.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace mirelo {

struct DuplicateGroups {
    enum class Kind { exact, similar };
    // Why the first of a group is the one to keep.
    enum class Reason { firstFolder, oldest, largestPicture, leastCompressed };
    struct Group {
        std::vector<std::string> paths; // the keeper first
        Reason reason = Reason::oldest;
        // Other names of a path's file (hard links): one file, never copies.
        std::unordered_map<std::string, std::vector<std::string>> links;
    };

    Kind kind = Kind::exact;
    std::vector<Group> groups;

    // The group holding `path` and its place there; -1 when none does.
    std::pair<int, int> find(const std::string& path) const
    {
        const auto found = index_.find(path);
        return found == index_.end() ? std::pair{-1, -1} : found->second;
    }
    void reindex()
    {
        index_.clear();
        for (size_t g = 0; g < groups.size(); ++g)
            for (size_t p = 0; p < groups[g].paths.size(); ++p) index_[groups[g].paths[p]] = {int(g), int(p)};
    }

private:
    std::unordered_map<std::string, std::pair<int, int>> index_;
};

} // namespace mirelo
