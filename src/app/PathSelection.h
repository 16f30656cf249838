#pragma once
// The selected items, by path. Select All shares the visible list's id set
// instead of copying every path, so it costs the same for ten items or a
// million; single items then come and go beside that set.

#include "library/MediaIDSet.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

namespace mirelo {

class PathSelection {
public:
    PathSelection() = default;
    PathSelection(std::initializer_list<std::string> paths);
    // Every id of `ids`.
    static PathSelection everyIn(const MediaIDSet& ids);

    size_t size() const;
    bool empty() const { return size() == 0; }
    bool contains(std::string_view path) const;
    // Each returns whether the selection changed.
    bool insert(const std::string& path);
    bool erase(const std::string& path);
    // Each selected path once, in no particular order.
    void forEach(const std::function<void(std::string_view)>& visit) const;

    bool operator==(const PathSelection& other) const;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    using Paths = std::unordered_set<std::string, Hash, std::equal_to<>>;

    bool inBulk(std::string_view path) const { return bulk_ && bulk_->contains(path); }

    std::shared_ptr<const MediaIDSet> bulk_; // selected, except `removed_`
    Paths removed_;
    Paths extra_; // selected besides the bulk
};

} // namespace mirelo
