#pragma once
// The set of ids (paths) of a list of items, built without touching the
// items themselves: it indexes into a shared copy of the list.

#include "library/MediaItem.h"

#include <memory>
#include <string_view>
#include <vector>

namespace mirelo {

class MediaIDSet {
public:
    MediaIDSet() = default;
    // `items` must hold distinct ids; `hashes[i]` is `items[i].pathHash()`.
    MediaIDSet(MediaItems items, const std::vector<uint64_t>& hashes);

    size_t size() const { return size_t(items_.size()); }
    bool empty() const { return items_.isEmpty(); }
    bool contains(std::string_view path) const;
    // The item with this id, or null.
    const MediaItem* find(std::string_view path) const;
    // The items whose ids these are.
    const MediaItems& items() const { return items_; }

private:
    MediaItems items_;
    // Hash in the high 32 bits, index + 1 in the low 32; shared by copies.
    std::shared_ptr<const std::vector<uint64_t>> slots_;
};

} // namespace mirelo
